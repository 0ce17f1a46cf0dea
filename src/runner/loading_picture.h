// Loading picture: the runner's own artwork for the loading window, its picture and its two bars.
#pragma once

#include "support/bitmap.h"

namespace quillon {

constexpr int LOADING_PICTURE_WIDTH = 332;   // size of the built-in picture, and so of the loading window
constexpr int LOADING_PICTURE_HEIGHT = 92;

// The name of the runner in large letters on a dark gradient.
Bitmap24 builtin_loading_picture();
// A light sunken trough that the bar fills; 20 pixels high, drawn stretched to the window's width.
Bitmap24 builtin_empty_bar();
// The bar that grows with the progress; 16 pixels high, so that it sits inside the trough.
Bitmap24 builtin_full_bar();

}  // namespace quillon
