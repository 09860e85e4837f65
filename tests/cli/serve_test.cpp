// `serve` as a command: what ends it before it serves.
#include <gtest/gtest.h>

#include <sstream>

#include "cli/commands.h"
#include "tests/support/temp_dir.h"
#include "viewer/http_server.h"

// What ends `serve` before it serves: each is a failure (3) with its reason, not a server left half up.
TEST(Serve, RefusesAMissingFileAndAPortInUse) {
    temp_dir dir;
    std::ostringstream quiet;
    ASSERT_EQ(run_export({dir.path()}, quiet, quiet), 0);
    const auto route = dir.path() / "Lidonia_Sabrio_linea.txt", train = dir.path() / "Lidonia_Sabrio_914-.txt";
    const auto taken = http_server::open(0, [](std::string_view, std::string_view) { return http_reply{}; }, "/events");
    ASSERT_TRUE(taken);
    const struct {
        std::filesystem::path route;
        uint16_t port;
        std::string reason;
    } cases[] = {
        {dir.path() / "absent.txt", 0, "absent.txt: no such file"},
        {dir.path(), 0, ": is a directory, not a file"},
        {route, (*taken)->port(), "cannot listen on 127.0.0.1:" + std::to_string((*taken)->port())},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(run_serve({{c.route, train, "", ""}, c.port, false}, out, err), 3) << c.reason;
        EXPECT_NE(err.str().find(c.reason), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "") << c.reason;
    }
}
