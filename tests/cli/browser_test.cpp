// SPDX-FileCopyrightText: 2026 The Vantu developers
// SPDX-License-Identifier: MIT
// The gallery as a user opens it: written by vantu-render, shown by a real browser.

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/png_file.h"
#include "tests/run_program.h"

namespace vantu {
namespace {

using testing_support::DecodedPng;
using testing_support::Outcome;
using testing_support::readPng;
using testing_support::runProgram;
using testing_support::slurp;

// Debian's chromium, or nothing when it is not installed.
std::string chromium() {
    for (const char* path : {"/usr/bin/chromium", "/usr/bin/chromium-browser"}) {
        if (::access(path, X_OK) == 0) {
            return path;
        }
    }
    return {};
}

// Runs headless chromium on `url` with `extra` arguments, for at most a minute.
Outcome browse(const std::string& browser, const std::filesystem::path& profile,
               const std::vector<std::string>& extra, const std::string& url) {
    std::vector<std::string> args = {"60",
                                     browser,
                                     "--headless",
                                     "--no-sandbox",
                                     "--disable-gpu",
                                     "--disable-quic",
                                     "--no-first-run",
                                     "--disable-background-networking",
                                     "--disable-component-update",
                                     "--disable-sync",
                                     "--hide-scrollbars",
                                     "--user-data-dir=" + profile.string()};
    args.insert(args.end(), extra.begin(), extra.end());
    args.push_back(url);
    return runProgram("/usr/bin/timeout", args);
}

// Counts the pixels of the screenshot in a hue of the pictures, which only images can bring:
// the page itself is dark text on a light grey.
// A pixel counts when its value (the largest channel) is over 150 of 255 and its saturation (the
// spread of the channels over that value) over 200 of 255.
int saturated(const DecodedPng& shot) {
    int count = 0;
    for (int y = 0; y < shot.height; y += 2) {
        for (int x = 0; x < shot.width; x += 2) {
            const PackedColour c = shot.at(x, y);
            const int high = std::max({redOf(c), greenOf(c), blueOf(c)});
            const int low = std::min({redOf(c), greenOf(c), blueOf(c)});
            count += high > 150 && 255 * (high - low) > 200 * high ? 1 : 0;
        }
    }
    return count;
}

TEST(GalleryInABrowser, EveryImageLoads) {
    const std::filesystem::path dir =
        std::filesystem::path(testing::TempDir()) / ("vantu-browser-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    const Outcome made = runProgram(VANTU_RENDER, {"--gallery", dir.string(), "--jobs", "2"});
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(made.err, "");
    std::size_t pngs = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        if (entry.path().extension() == ".png") {
            ++pngs;
        }
    }
    EXPECT_EQ(pngs, 132U + 79U + 13U)
        << "the catalogue's pictures, the uniform polyhedra's and the plane triangles'";
    const std::string page = slurp((dir / "index.html").string());
    ASSERT_NE(page.find("</body>"), std::string::npos);
    EXPECT_EQ(page.find("<script"), std::string::npos);

    const std::string browser = chromium();
    if (browser.empty()) {
        std::filesystem::remove_all(dir);
        GTEST_SKIP() << "chromium is not installed (scripts/install-deps.sh installs it)";
    }

    // The page as shipped, rendered to a screenshot.
    const std::filesystem::path shot = dir / "screenshot.png";
    const Outcome shown = browse(browser, dir / "profile-shot",
                                 {"--window-size=1400,2400", "--screenshot=" + shot.string()},
                                 "file://" + (dir / "index.html").string());
    ASSERT_EQ(shown.status, 0) << shown.err;
    const DecodedPng screenshot = readPng(shot.string());
    ASSERT_EQ(screenshot.problem, "");
    ASSERT_EQ(screenshot.width, 1400);
    ASSERT_EQ(screenshot.height, 2400);
    EXPECT_GT(saturated(screenshot), 20000) << "the thumbnails are not in the screenshot";

    // Of each page, a copy with a note of how many images decoded at their full size once the
    // page loaded; only this test's copies have a script.
    for (const auto& [name, images] :
         {std::pair{"index", "132 of 132"}, std::pair{"polyhedra", "79 of 79"},
          std::pair{"planes", "13 of 13"}}) {
        std::string checked = slurp((dir / (std::string(name) + ".html")).string());
        ASSERT_NE(checked.find("</body>"), std::string::npos) << name;
        checked.insert(checked.find("</body>"),
                       "<script>window.addEventListener('load', () => {"
                       " const all = Array.from(document.images);"
                       " const ok = all.filter(i => i.complete && i.naturalWidth === 640 &&"
                       " i.naturalHeight === 481).length;"
                       " document.body.setAttribute('data-loaded', ok + ' of ' + all.length);"
                       "});</script>\n");
        const std::filesystem::path copy = dir / (std::string(name) + "-checked.html");
        std::ofstream(copy) << checked;
        const Outcome dom =
            browse(browser, dir / (std::string("profile-") + name),
                   {"--virtual-time-budget=10000", "--dump-dom"}, "file://" + copy.string());
        ASSERT_EQ(dom.status, 0) << dom.err;
        EXPECT_NE(dom.out.find("data-loaded=\"" + std::string(images) + "\""), std::string::npos)
            << name << ": " << dom.out.substr(0, 400);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vantu
