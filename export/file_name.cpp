// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
#include "export/file_name.h"

#include <algorithm>

namespace vantu {

bool fileNameEndsWith(std::string_view name, std::string_view ending) noexcept {
    // The file's own name, after its folder, is more than its ending.
    const std::string_view file = name.substr(name.find_last_of('/') + 1);
    if (file.size() <= ending.size()) {
        return false;
    }
    const std::string_view tail = file.substr(file.size() - ending.size());
    return std::equal(tail.begin(), tail.end(), ending.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

}  // namespace vantu
