// `serve` as a command: what ends it before it serves.
#include <gtest/gtest.h>

#include <optional>
#include <sstream>

#include "cli/commands.h"
#include "tests/support/temp_dir.h"
#include "viewer/http_server.h"

// What ends `serve` before it serves: each is a failure with its status and reason, not a server left half up.
TEST(Serve, RefusesAMissingFileOneFileGivenTwiceAndAPortInUse) {
    temp_dir dir;
    std::ostringstream quiet;
    ASSERT_EQ(run_export({dir.path()}, quiet, quiet), 0);
    const auto route = dir.path() / "Lidonia_Sabrio_linea.txt", train = dir.path() / "Lidonia_Sabrio_914-.txt";
    const auto taken = http_server::open(0, [](std::string_view, std::string_view) { return http_reply{}; }, "/events");
    ASSERT_TRUE(taken);
    const struct {
        std::filesystem::path route, train;
        uint16_t port;
        int status;
        std::string reason;
        std::optional<std::string> route_id = {};
    } cases[] = {
        {dir.path() / "absent.txt", train, 0, 3, "absent.txt: no such file"},
        {dir.path(), train, 0, 3, ": is a directory, not a file"},
        {train, train, 0, 2, "Lidonia_Sabrio_914-.txt is given as both the route and the train file"},
        {route, train, (*taken)->port(), 3, "cannot listen on 127.0.0.1:" + std::to_string((*taken)->port())},
        {route, train, (*taken)->port(), 2, "serve: the route identifier '' is empty, and names no file", ""},
    };
    for (const auto& c : cases) {
        std::ostringstream out, err;
        EXPECT_EQ(run_serve({{c.route, c.train, c.route_id, {}}, c.port, false}, out, err), c.status) << c.reason;
        EXPECT_NE(err.str().find(c.reason), std::string::npos) << err.str();
        EXPECT_EQ(out.str(), "") << c.reason;
    }
}
