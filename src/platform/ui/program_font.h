#pragma once
// The program's default font for every window.

namespace tavo::platform {

// Chinese and Latin interface text needs none of a font's OpenType layout
// features, so text is laid out from the character map alone (scripts that
// need shaping are still shaped). The layout tables of a CJK font are never
// read then: about 1.4 MB less for a program that shows Chinese text.
// Call once, after the application object exists.
void UsePlainTextLayout();

}  // namespace tavo::platform
