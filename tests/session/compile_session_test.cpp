// The compile every tool shares: from files or from texts in memory, its
// failures as values, and compile's write policy.
#include "session/compile_session.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "platform/input_files.h"
#include "tests/support/carried_texts.h"
#include "tests/support/temp_dir.h"

namespace {

std::string first_error(const session_compile& c) {
    for (const diagnostic& d : c.diagnostics)
        if (d.level == severity::error) return d.code + " line " + std::to_string(d.place.line);
    return "";
}

}  // namespace

TEST(CompileSession, TextsInMemoryStandForTheFilesTheyName) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    session_inputs in;
    in.route = files.route, in.train = files.train;
    const result<session_compile> from_files = compile_in_memory(in);
    ASSERT_TRUE(from_files);
    EXPECT_EQ(from_files->m.codice_errore, codice::nessuno);
    EXPECT_TRUE(from_files->drawable());
    EXPECT_EQ(from_files->route_id, "Lidonia_Sabrio");
    EXPECT_EQ(from_files->train_number, "914");

    // An edit not saved: a second signal in the first one's cell. The file on disk
    // is not read, and need not even exist.
    const std::string edited = with_lines(read_file(files.train), {{79, "segnale, 1650, 2, 4, 1, 0, 0, 2, 3,1,0, 0"}});
    in.train_text = edited;
    for (const auto& train : {files.train, dir.path() / "unsaved" / "Lidonia_Sabrio_914-.txt"}) {
        in.train = train;
        const result<session_compile> c = compile_in_memory(in);
        ASSERT_TRUE(c) << c.error().message;
        EXPECT_EQ(first_error(*c), "E16 line 79");
        EXPECT_EQ(c->sources.treno.text, edited);
    }
}

TEST(CompileSession, FailuresAreValuesWithTheirExitStatus) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    // The route's own folder holds the same file under another name.
    const std::filesystem::path again = files.route.parent_path() / "." / files.route.filename();
    // A file past the input limit, sparse: refused before anything is read.
    const std::filesystem::path big = dir.path() / "big_linea.txt";
    write_file(big, "");
    std::filesystem::resize_file(big, MAX_INPUT_FILE_BYTES + 1);
    const struct {
        std::filesystem::path route;
        std::optional<std::string> route_id;  // not given: from the file's name
        int status;
        std::string message;
        std::filesystem::path train = {};  // empty: the carried train file
    } cases[] = {
        {dir.path() / "absent_linea.txt", {}, 3, "absent_linea.txt: no such file"},
        {dir.path(), {}, 3, ": is a directory, not a file"},
        {files.route, "A/B", 2, "the route identifier 'A/B' holds '/', which a file name cannot"},
        {files.route, {}, 2, "Lidonia_Sabrio_linea.txt is given as both the route and the train file", files.route},
        {files.route, {}, 2, "is given as both the route and the train file (as " + again.string() + ")", again},
        {big, {}, 3, "big_linea.txt: is too large: 16777217 bytes, over the limit of 16777216 bytes"},
    };
    for (const auto& c : cases) {
        session_inputs in;
        in.route = c.route, in.train = c.train.empty() ? files.train : c.train, in.route_id = c.route_id;
        in.train_number = "914";
        const result<session_compile> r = compile_in_memory(in);
        ASSERT_FALSE(r) << c.message;
        EXPECT_EQ(r.error().status, c.status) << c.message;
        EXPECT_NE(r.error().message.find(c.message), std::string::npos) << r.error().message;
    }
}

TEST(CompileSession, WritesOnlyWhatThePolicyAllows) {
    temp_dir dir;
    const carried_files files = write_carried_texts(dir.path());
    session_inputs in;
    in.route = files.route, in.train = files.train;
    // --check creates not even the folder.
    const auto out = dir.path() / "out";
    ASSERT_TRUE(compile_and_write(in, {out, true, false}));
    EXPECT_FALSE(std::filesystem::exists(out));
    const result<session_compile> written = compile_and_write(in, {out, false, false});
    ASSERT_TRUE(written);
    EXPECT_EQ(written->esito.scritti.size(), 3u);
    // An output that would replace an input is refused before anything is compiled.
    in.route = dir.path() / "Lidonia_Sabrio_914.sim";
    std::filesystem::copy_file(files.route, in.route);
    in.route_id = "Lidonia_Sabrio";
    const result<session_compile> refused = compile_and_write(in, {dir.path(), false, false});
    ASSERT_FALSE(refused);
    EXPECT_EQ(refused.error().status, 2);
    EXPECT_NE(refused.error().message.find("would overwrite the input"), std::string::npos) << refused.error().message;
}
