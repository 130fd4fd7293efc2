// Registration of every control class, so form descriptions can create page layouts from
// them. Programs and tests call it once at start, beside their own form classes.
#pragma once

namespace rt {

// Labels and images, the standard, list, layout, common and file controls, bitmap buttons,
// image lists and the right-to-left variants. Registering twice is harmless.
void RegisterControlClasses();

}  // namespace rt
