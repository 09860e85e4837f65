// The "see:" references find the authors' reference where each package puts it.
#include "platform/format_reference.h"

#include <gtest/gtest.h>

#include "platform/file_ops.h"
#include "platform/path_text.h"
#include "tests/support/temp_dir.h"

TEST(FormatReference, BesideTheProgramInThePackagesDocumentationOrAsTheSourceTreeNamesIt) {
    namespace fs = std::filesystem;
    const struct {
        const char* placed;  // where the reference is, under the root; the program is in root/bin
        const char* named;   // what the references name, under the root; "" for the fallback
    } cases[] = {
        {"bin/format.md", "bin/format.md"},                                         // the zip
        {"share/doc/scenario-compiler/format.md", "share/doc/scenario-compiler/format.md"},  // the .deb
        {"docs/format.md", ""},  // a build folder: neither, named as the source tree names it
    };
    for (const auto& c : cases) {
        temp_dir root;
        fs::create_directories((root.path() / c.placed).parent_path());
        fs::create_directories(root.path() / "bin");
        write_file(root.path() / c.placed, "# reference\n");
        const std::string expected = *c.named ? utf8_path((root.path() / c.named).lexically_normal()) : "docs/format.md";
        EXPECT_EQ(format_reference(root.path() / "bin"), expected) << c.placed;
    }
}
