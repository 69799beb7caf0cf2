#include "platform/settings_store.h"

#include "platform/settings_format.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrova::platform {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = kestrova::testing::ScratchRoot() /
                  ("settings-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        file_ = (folder_ / "Kestrova" / "registry").string();
    }
    void TearDown() override { fs::remove_all(folder_); }

    fs::path folder_;
    std::string file_;
};

TEST_F(SettingsStoreTest, DefaultFileFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    std::string saved = old ? old : "";
    const char* oldHome = std::getenv("HOME");
    std::string savedHome = oldHome ? oldHome : "";
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(SettingsStore::DefaultFile(), "/somewhere/config/Kestrova/registry");
    setenv("XDG_CONFIG_HOME", "relative", 1);  // not absolute: ignored, as XDG says
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(SettingsStore::DefaultFile(), "/home/someone/.config/Kestrova/registry");
    if (old)
        setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        unsetenv("XDG_CONFIG_HOME");
    if (oldHome)
        setenv("HOME", savedHome.c_str(), 1);
    else
        unsetenv("HOME");
}

TEST_F(SettingsStoreTest, ValuesAreReadOnlyAsTheTypeTheyHave) {
    SettingsStore store(file_);
    const std::u16string key = u"Software\\Kestrova\\DevMode";
    EXPECT_FALSE(store.KeyExists(key));
    EXPECT_FALSE(store.ReadDword(key, u"IncludeLUL"));
    ASSERT_TRUE(store.WriteString(key, u"IncludeLUL", u"1"));
    ASSERT_TRUE(store.WriteDword(key, u"ContentDetails", 0xfffffffe));
    EXPECT_FALSE(store.ReadDword(key, u"IncludeLUL"));
    EXPECT_EQ(store.ReadString(key, u"IncludeLUL"), u"1");
    EXPECT_EQ(store.ReadDword(key, u"ContentDetails"), 0xfffffffeu);
    EXPECT_FALSE(store.ReadString(key, u"ContentDetails"));
    // Writing the other type replaces the value.
    ASSERT_TRUE(store.WriteDword(key, u"IncludeLUL", 0));
    EXPECT_EQ(store.ReadDword(key, u"IncludeLUL"), 0u);
    EXPECT_FALSE(store.ReadString(key, u"IncludeLUL"));
}

TEST_F(SettingsStoreTest, KeysAndNamesIgnoreLetterCaseAndKeepTheirFirstSpelling) {
    SettingsStore store(file_);
    ASSERT_TRUE(store.WriteDword(u"Software\\Kestrova\\ViewSettings", u"Visible", 1));
    EXPECT_EQ(store.ReadDword(u"SOFTWARE\\kestrova\\viewsettings", u"VISIBLE"), 1u);
    ASSERT_TRUE(store.WriteDword(u"software\\KESTROVA\\viewSettings", u"visible", 2));
    EXPECT_EQ(store.ReadDword(u"Software\\Kestrova\\ViewSettings", u"Visible"), 2u);
    std::string text = ReadFile(file_);
    EXPECT_NE(text.find("[Software\\Kestrova\\ViewSettings]\n\"Visible\"=dword:00000002\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("visible"), std::string::npos);
}

TEST_F(SettingsStoreTest, KeysAreOpenedCreatedAndDeleted) {
    SettingsStore store(file_);
    const std::u16string history = u"Software\\Kestrova\\ViewSettings\\Default\\SearchHistory";
    EXPECT_FALSE(SettingsKey::Open(store, history, false));
    auto key = SettingsKey::Open(store, history, true);
    ASSERT_TRUE(key);
    EXPECT_TRUE(store.KeyExists(u"Software\\Kestrova\\ViewSettings\\Default"));  // parents too
    ASSERT_TRUE(key->WriteString(u"Item0", u"первый"));
    ASSERT_TRUE(key->WriteString(u"Item1", u"second"));
    EXPECT_EQ(SettingsKey::Open(store, history, false)->ReadString(u"Item1"), u"second");

    EXPECT_FALSE(store.DeleteKey(u"Software\\Kestrova\\ViewSettings\\Default"));  // has subkeys
    EXPECT_TRUE(store.DeleteKey(history));
    EXPECT_FALSE(store.KeyExists(history));
    EXPECT_FALSE(store.ReadString(history, u"Item0"));
    EXPECT_FALSE(store.DeleteKey(history));
    EXPECT_TRUE(store.KeyExists(u"Software\\Kestrova\\ViewSettings\\Default"));
}

TEST_F(SettingsStoreTest, MalformedKeyPathsAreRefused) {
    SettingsStore store(file_);
    for (std::u16string bad :
         {std::u16string(u""), std::u16string(u"A\\\\B"), std::u16string(u"\\A"),
          std::u16string(u"A\\"), std::u16string(u"A\nB"), std::u16string(u"A\xD800")}) {
        EXPECT_FALSE(store.WriteDword(bad, u"x", 1));
        EXPECT_FALSE(store.CreateKey(bad));
    }
    EXPECT_FALSE(fs::exists(file_));
}

TEST_F(SettingsStoreTest, AwkwardTextsSurviveTheFile) {
    SettingsStore store(file_);
    const std::u16string key = u"Software\\Ключ [с] скобками]";
    const std::u16string texts[] = {u"",
                                    u"quote \" and backslash \\ and \\u0041",
                                    u"line\nbreak\r\ttab\x01\x7f",
                                    std::u16string(u"zero\0inside", 11),
                                    u"lone \xD800 high, lone \xDC00 low",
                                    u"pair \xD83D\xDE00 and Cyrillic Ёж",
                                    u"=dword:00000001"};
    for (size_t i = 0; i < std::size(texts); ++i) {
        ASSERT_TRUE(
            store.WriteString(key, u"name \"" + std::u16string(1, u'0' + i) + u"\"\n", texts[i]));
    }
    for (size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(store.ReadString(key, u"name \"" + std::u16string(1, u'0' + i) + u"\"\n"),
                  texts[i])
            << i;
    }
    SettingsData data = ParseSettings(ReadFile(file_));
    EXPECT_FALSE(data.damaged);
}

TEST_F(SettingsStoreTest, DamagedFileIsReadUpToTheDamageAndKeptAside) {
    SettingsStore store(file_);
    ASSERT_TRUE(store.WriteDword(u"A", u"kept", 5));
    const std::string valid = ReadFile(file_);
    const std::string damaged = valid + "garbage line\n[B]\n\"lost\"=dword:00000001\n";
    WriteFile(file_, damaged);
    EXPECT_EQ(store.ReadDword(u"A", u"kept"), 5u);
    EXPECT_FALSE(store.KeyExists(u"B"));
    ASSERT_TRUE(store.WriteDword(u"A", u"new", 6));
    EXPECT_EQ(ReadFile(file_ + ".damaged"), damaged);
    EXPECT_EQ(store.ReadDword(u"A", u"kept"), 5u);
    EXPECT_EQ(store.ReadDword(u"A", u"new"), 6u);
    EXPECT_FALSE(ParseSettings(ReadFile(file_)).damaged);
}

TEST_F(SettingsStoreTest, EveryCutOfTheFileReadsOnlyTrueValues) {
    SettingsStore store(file_);
    ASSERT_TRUE(store.WriteDword(u"Software\\K", u"Number", 0x12345678));
    ASSERT_TRUE(store.WriteString(u"Software\\K", u"Text", u"abc\\\"Ж\xD83D\xDE00"));
    ASSERT_TRUE(store.WriteString(u"Software\\K\\Sub", u"Other", u"x"));
    const std::string full = ReadFile(file_);
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        SettingsData data = ParseSettings(full.substr(0, cut));
        for (SettingsKeyData& key : data.keys) {
            for (SettingsValue& value : key.values) {
                std::optional<uint32_t> number = store.ReadDword(key.path, value.name);
                std::optional<std::u16string> text = store.ReadString(key.path, value.name);
                if (value.type == SettingsValue::Type::kDword) {
                    EXPECT_EQ(number, value.dword) << "cut at " << cut;
                } else {
                    EXPECT_EQ(text, value.text) << "cut at " << cut;
                }
            }
        }
    }
    EXPECT_EQ(ParseSettings(full).keys.size(), 3u);
}

// One key path of 40,000 parts (80 KB) made every parent key explicit: 40,000 prefixes, 1.6 GB
// of text, and as much again in the next rewrite. Parents stay implied, so reading and
// rewriting cost in proportion to the file; the parents still exist for the store's users.
// Likewise a key with very many values is read without comparing each value with all others.
TEST_F(SettingsStoreTest, DeepKeyPathsAndManyValuesCostInProportionToTheFile) {
    std::u16string deep = u"Deep";
    for (int i = 1; i < 40000; ++i) deep += u"\\a";
    std::string text = "[Deep";
    for (int i = 1; i < 40000; ++i) text += "\\a";
    text += "]\n\"v\"=dword:00000007\n[Many]\n";
    for (int i = 0; i < 100000; ++i) text += "\"v" + std::to_string(i) + "\"=dword:00000001\n";
    text += "\"V99999\"=dword:00000002\n";
    fs::create_directories(fs::path(file_).parent_path());
    WriteFile(file_, text);

    SettingsStore store(file_);
    EXPECT_EQ(store.ReadDword(deep, u"v"), 7u);
    EXPECT_TRUE(store.KeyExists(deep.substr(0, 4 + 2 * 20000)));  // an implied parent
    EXPECT_TRUE(store.KeyExists(u"DEEP\\A"));
    EXPECT_FALSE(store.KeyExists(u"Deep\\b"));
    EXPECT_FALSE(store.KeyExists(deep + u"\\a"));
    EXPECT_EQ(store.ReadDword(u"many", u"v99999"), 2u);  // the last of one name wins
    EXPECT_EQ(store.ReadDword(u"Many", u"v0"), 1u);
    EXPECT_FALSE(store.DeleteKey(u"Deep"));  // it has subkeys

    ASSERT_TRUE(store.WriteDword(u"Software\\Kestrova", u"x", 1));
    const std::string rewritten = ReadFile(file_);
    EXPECT_LT(rewritten.size(), text.size() + 200);
    const SettingsData data = ParseSettings(rewritten);
    EXPECT_FALSE(data.damaged);
    EXPECT_EQ(data.keys.size(), 4u);  // Deep..., Many, Software, Software\Kestrova
    EXPECT_EQ(store.ReadDword(deep, u"v"), 7u);
    EXPECT_TRUE(store.DeleteKey(deep));
    EXPECT_FALSE(store.KeyExists(u"Deep\\a"));
}

TEST_F(SettingsStoreTest, BinaryRubbishNeverCrashes) {
    std::string rubbish;
    for (int i = 0; i < 4096; ++i) rubbish += static_cast<char>((i * 7919) % 251);
    SettingsData data = ParseSettings(rubbish);
    EXPECT_TRUE(data.damaged);
    EXPECT_TRUE(data.keys.empty());
    fs::create_directories(fs::path(file_).parent_path());
    WriteFile(file_, "[A]\n\"v\"=dword:0000000g\n");
    SettingsStore store(file_);
    EXPECT_TRUE(store.KeyExists(u"A"));
    EXPECT_FALSE(store.ReadDword(u"A", u"v"));
}

TEST_F(SettingsStoreTest, UnreadableFileIsNeverOverwritten) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not stop root";
    SettingsStore store(file_);
    ASSERT_TRUE(store.WriteDword(u"A", u"v", 1));
    fs::permissions(file_, fs::perms::none);
    EXPECT_FALSE(store.WriteDword(u"A", u"w", 2));
    fs::permissions(file_, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(store.ReadDword(u"A", u"v"), 1u);
}

std::u16string ValueName(int child, int i) {
    std::string name = "P" + std::to_string(child) + "_" + std::to_string(i);
    return std::u16string(name.begin(), name.end());
}

// Each child writes its own values as soon as both have been let go at once; the exclusive
// lock around every rewrite must keep all of them.
TEST_F(SettingsStoreTest, ConcurrentWritersInTwoProcessesLoseNothing) {
    constexpr int kWrites = 40;
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    std::vector<pid_t> children;
    for (int child = 0; child < 2; ++child) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(go[1]);
            char byte;
            if (read(go[0], &byte, 1) != 1) _exit(3);
            SettingsStore store(file_);
            for (int i = 0; i < kWrites; ++i) {
                std::u16string name = ValueName(child, i);
                if (!store.WriteDword(u"Software\\Race", name, static_cast<uint32_t>(i))) _exit(4);
            }
            _exit(0);
        }
        children.push_back(pid);
    }
    close(go[0]);
    ASSERT_EQ(write(go[1], "gg", 2), 2);
    close(go[1]);
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0);
    }
    SettingsStore store(file_);
    for (int child = 0; child < 2; ++child) {
        for (int i = 0; i < kWrites; ++i) {
            std::u16string name = ValueName(child, i);
            EXPECT_EQ(store.ReadDword(u"Software\\Race", name), static_cast<uint32_t>(i));
        }
    }
    // No temporary file is left behind.
    for (const auto& entry : fs::directory_iterator(fs::path(file_).parent_path())) {
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos);
    }
}

// A writer killed at some moment of its rewrites leaves a whole file holding everything it
// had finished writing.
TEST_F(SettingsStoreTest, WriterKilledWhileRewritingLosesNothing) {
    int done[2];
    ASSERT_EQ(pipe(done), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(done[0]);
        SettingsStore store(file_);
        for (int i = 0;; ++i) {
            if (!store.WriteString(u"Software\\Crash", ValueName(0, i), std::u16string(200, u'ж')))
                _exit(4);
            if (write(done[1], "x", 1) != 1) _exit(5);
        }
    }
    close(done[1]);
    char buffer[25];
    size_t finished = 0;
    while (finished < sizeof buffer) {
        ssize_t n = read(done[0], buffer, sizeof buffer - finished);
        ASSERT_GT(n, 0);
        finished += static_cast<size_t>(n);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    close(done[0]);
    EXPECT_FALSE(ParseSettings(ReadFile(file_)).damaged);
    SettingsStore store(file_);
    for (size_t i = 0; i < finished; ++i) {
        EXPECT_EQ(store.ReadString(u"Software\\Crash", ValueName(0, static_cast<int>(i))),
                  std::u16string(200, u'ж'));
    }
    EXPECT_TRUE(store.WriteDword(u"Software\\Crash", u"after", 1));  // the lock died with it
}

}  // namespace
}  // namespace kestrova::platform
