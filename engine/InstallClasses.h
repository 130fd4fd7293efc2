// Makes the engine's component classes known to the form-description reader.
#pragma once

void RegisterInstallClasses();
