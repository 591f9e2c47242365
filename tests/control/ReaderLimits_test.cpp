// What the readers make of texts past the format's limits: a key longer than the key record
// or holding a NUL names nothing, and a detail line longer than the format allows is cut.
#include <filesystem>

#include "EngineFixture.h"

namespace zendari::test {
namespace {

using ReaderLimits = EngineTest;

TEST_F(ReaderLimits, KeysTheIndexCannotHoldMatchNothing) {
    const std::string longest(127, 'K');  // the longest name a key record holds
    build_rows({{.name = "A", .dong = "10010101"},
                {.name = longest, .dong = "10010101"},
                {.name = "M", .dong = "10010101"}});
    init_and_select(10);
    ASSERT_TRUE(core_->find_key(longest));
    EXPECT_EQ(core_->get_next(), longest + ":2:1:");

    struct Case {
        const char* what;
        std::string key;
        std::string next;  // the entry GetNext gives after the lookup
    };
    const std::vector<Case> cases = {
        {"one byte past the longest name", longest + "x", "M:3:1:"},
        {"a thousand bytes", longest + std::string(1000, 'K'), "M:3:1:"},
        {"a NUL after a name", std::string("A\0B", 3), longest + ":2:1:"},
        {"a NUL alone", std::string(1, '\0'), "A:1:1:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(core_->find_key(c.key));
        EXPECT_EQ(core_->get_next(), c.next);
    }
    EXPECT_TRUE(core_->find_key("A"));  // and the names themselves are still found
    EXPECT_TRUE(host_->messages.empty());
}

// The format's detail line is at most 1,024 bytes with its CR LF; a block file written by
// something else may hold more, which comes back cut there and never whole.
TEST_F(ReaderLimits, ADetailLineIsCutAtTheFormatsLength) {
    build_rows({{.name = "A", .dong = "10010101"},
                {.name = "B", .dong = "10010101"},
                {.name = "C", .dong = "10010101"}});
    const std::filesystem::path data = std::filesystem::path(cd()) / "data";
    std::filesystem::remove(data / "10_1.lof");
    std::filesystem::remove(std::filesystem::path(cd()) / "index" / "cd.manifest");
    const std::string hangul = cp949("가");  // two bytes
    write_file((data / "10_1.dll").string(),
               std::string(5 << 20, 'x') + "\r\n" +            // 5 MB
                   std::string(1021, 'y') + hangul + "\r\n" +  // the cut would split 가
                   std::string(1022, 'z') + "\r\n");           // exactly at the limit
    init_and_select(10);
    ASSERT_TRUE(core_->set_result(1, 3));
    const auto detail = [](const std::string& result) {
        return result.substr(result.rfind(':') + 1);
    };
    EXPECT_EQ(detail(core_->get_result()), std::string(1022, 'x') + "\n");
    EXPECT_EQ(detail(core_->get_result()), std::string(1021, 'y') + "\n");
    EXPECT_EQ(detail(core_->get_result()), std::string(1022, 'z') + "\n");
}

}  // namespace
}  // namespace zendari::test
