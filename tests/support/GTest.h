// GoogleTest under Winelib: gtest must take its POSIX path, so the Windows macros are hidden
// while its header is read. Include this first in every test source.
#pragma once

#pragma push_macro("_WIN32")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN32")
#undef _WIN32
#undef _WIN64
#undef WIN32
#include <gtest/gtest.h>
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN64")
#pragma pop_macro("_WIN32")

#include <windows.h>
