// Files built into the program (form descriptions, images), found by file name without
// regard to case. The build embeds everything under resources/ and registers it at start.
#pragma once

#include <string>

namespace rt {

// Empty when there is no such resource.
std::string FindResource(const std::string& name);
bool ResourceExists(const std::string& name);
void RegisterResource(const std::string& name, const std::string& data);

}  // namespace rt

// Registers everything under resources/; defined by the build (cmake/EmbedScript.cmake) in
// the brev_resources library. Idempotent.
void BrevRegisterEmbeddedResources();
