// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#pragma once

// The type of file a name asks for, by its ending, and what to tell a user whose name has none.

#include <string_view>

namespace vantu {

// Whether the file's own name, after its folder, ends in `ending` (given in lower case) in any
// case and is more than its ending: "a.PNG" ends in ".png", ".png" and "a.png/" do not.
[[nodiscard]] bool fileNameEndsWith(std::string_view name, std::string_view ending) noexcept;

// The advice that follows "cannot tell the picture type of 'NAME': ".
inline constexpr std::string_view pictureTypeAdvice = "use a name ending in .png or .webp";

// The advice that follows "cannot tell the model type of 'NAME': ".
inline constexpr std::string_view modelTypeAdvice = "use a name ending in .off, .obj, .stl or .glb";

}  // namespace vantu
