// The desktop's opener, faked on PATH: whether it could not be started, failed
// on its own, or opened the page, the caller hears which.
#ifndef _WIN32
#include "platform/open_browser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>

#include "platform/file_ops.h"
#include "tests/support/temp_dir.h"

TEST(OpenBrowser, StartsTheOpenerAndHearsItsFailure) {
    const std::string url = "http://127.0.0.1:8765/";
    const struct {
        const char* opener;  // the fake's script; nullptr: none on PATH
        bool started;
        int failure;  // the status heard later; 0: none
    } cases[] = {
        {nullptr, false, 0},
        {"#!/bin/sh\necho \"$1\" > \"${0%/*}/asked\"\nexit 3\n", true, 3},
        {"#!/bin/sh\necho \"$1\" > \"${0%/*}/asked\"\n", true, 0},
    };
    const std::string path_before = std::getenv("PATH") ? std::getenv("PATH") : "";
    for (const auto& c : cases) {
        temp_dir dir;
        if (c.opener) {
            write_file(dir.path() / "xdg-open", c.opener);
            std::filesystem::permissions(dir.path() / "xdg-open", std::filesystem::perms::owner_all);
        }
        setenv("PATH", dir.path().c_str(), 1);
        auto heard = std::make_shared<std::promise<int>>();
        std::future<int> failure = heard->get_future();
        const bool started = open_in_browser(url, [heard](int status) { heard->set_value(status); });
        setenv("PATH", path_before.c_str(), 1);
        EXPECT_EQ(started, c.started) << (c.opener ? c.opener : "no opener");
        if (!c.started) continue;
        for (int i = 0; i < 100 && !std::filesystem::exists(dir.path() / "asked"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_EQ(read_file(dir.path() / "asked"), url + "\n");
        const bool failed =
            failure.wait_for(std::chrono::seconds(c.failure ? 5 : 1)) == std::future_status::ready;
        EXPECT_EQ(failed, c.failure != 0);
        if (failed) {
            EXPECT_EQ(failure.get(), c.failure);
        }
    }
}
#endif
