// The folder list on disk: GetDataFolder over damaged folders.bin files, and a process killed
// while it rewrites the list.
#include "model/data_folder.h"
#include "platform/path.h"
#include "platform/tests/private_data_home.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <fstream>
#include <sstream>

namespace kestrova {
namespace {

std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::u16string Folder(const std::string& name) { return platform::PathFromNative("/kb/" + name); }

std::u16string DataFolderOf(const std::u16string& folder) {
    std::u16string data;
    std::string error;
    EXPECT_TRUE(GetDataFolder(folder, data, &error)) << error;
    return data;
}

// A private base folder whose folders.bin maps /kb/a, /kb/b and /kb/c.
class DamagedFolderList : public ::testing::Test {
protected:
    DamagedFolderList() : home_("damaged-folder-list") {
        for (const char* name : {"a", "b", "c"}) data_.push_back(DataFolderOf(Folder(name)));
        good_ = ReadBytes(List());
    }
    std::filesystem::path List() const { return home_.Base() / "folders.bin"; }
    // The keys of the list on disk, in order.
    std::vector<std::u16string> KeysOnDisk() const {
        std::vector<std::u16string> keys;
        for (const FolderEntry& e : ParseFolderList(ReadBytes(List()))) keys.push_back(e.key);
        return keys;
    }

    testing::PrivateDataHome home_;
    std::vector<std::u16string> data_;
    std::string good_;
};

TEST_F(DamagedFolderList, ACutShortListKeepsTheWholeEntriesBeforeTheCut) {
    ASSERT_EQ(good_.size(), 12u + 3 * (20 + 2 * 5));
    for (size_t cut : {good_.size() - 1, good_.size() - 10, good_.size() - 30}) {
        WriteBytes(List(), good_.substr(0, cut));
        EXPECT_EQ(DataFolderOf(Folder("a")), data_[0]);
        EXPECT_EQ(DataFolderOf(Folder("b")), data_[1]);
        EXPECT_EQ(ReadBytes(List()), good_.substr(0, cut));      // finding an entry writes nothing
        const std::u16string again = DataFolderOf(Folder("c"));  // lost: a new data folder
        EXPECT_NE(again, data_[2]);
        EXPECT_EQ(KeysOnDisk(),
                  (std::vector<std::u16string>{Folder("a"), Folder("b"), Folder("c")}));
        EXPECT_EQ(DataFolderOf(Folder("c")), again);
    }
}

TEST_F(DamagedFolderList, AHugeCountReadsTheEntriesThereAndIsWrittenRight) {
    std::string bytes = good_;
    bytes.replace(8, 4, "\xFF\xFF\xFF\xFF");
    WriteBytes(List(), bytes);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(DataFolderOf(Folder(std::string(1, char('a' + i)))), data_[i]);
    DataFolderOf(Folder("d"));
    const std::string rewritten = ReadBytes(List());
    EXPECT_EQ(rewritten.substr(8, 4), std::string("\x04\0\0\0", 4));
    EXPECT_EQ(rewritten.substr(0, good_.size()).substr(12), good_.substr(12));
    EXPECT_EQ(KeysOnDisk().size(), 4u);
}

TEST_F(DamagedFolderList, AnOverlongKeyEndsTheListAndTheEntriesAfterItAreLost) {
    std::string bytes = good_;
    bytes.replace(12 + 30 + 16, 4, std::string("\x05\x01\0\0", 4));  // b's length becomes 261
    WriteBytes(List(), bytes);
    EXPECT_EQ(DataFolderOf(Folder("a")), data_[0]);
    EXPECT_NE(DataFolderOf(Folder("c")), data_[2]);
    EXPECT_EQ(KeysOnDisk(), (std::vector<std::u16string>{Folder("a"), Folder("c")}));
}

TEST_F(DamagedFolderList, ListsWithoutTheMagicAreEmptyAndReplacedByTheNewEntry) {
    const std::string garbage[] = {"", "KSV", std::string("KSVF\0\0\0\0", 8),
                                   std::string(5000, '\xA7'), "ksvf" + good_.substr(4)};
    for (const std::string& bytes : garbage) {
        WriteBytes(List(), bytes);
        const std::u16string a = DataFolderOf(Folder("a"));
        EXPECT_NE(a, data_[0]);
        EXPECT_EQ(KeysOnDisk(), std::vector<std::u16string>{Folder("a")});
        EXPECT_EQ(DataFolderOf(Folder("a")), a);
    }
}

TEST_F(DamagedFolderList, AListThatCannotBeReadFailsAndIsLeftAlone) {
    std::filesystem::remove(List());
    std::filesystem::create_directories(List() / "inside");
    std::u16string data = u"unchanged";
    std::string error;
    EXPECT_FALSE(GetDataFolder(Folder("a"), data, &error));
    EXPECT_NE(error.find(List().string()), std::string::npos) << error;
    EXPECT_EQ(data, u"unchanged");
    EXPECT_TRUE(std::filesystem::is_directory(List() / "inside"));
}

// Adds new page folders one after the other, writing one byte to `fd` after each has its
// entry, until it is killed.
[[noreturn]] void AddFoldersForever(int fd, int round) {
    for (int i = 0;; ++i) {
        std::u16string data;
        if (!GetDataFolder(Folder("new/" + std::to_string(round) + "/" + std::to_string(i)), data))
            ::_exit(3);
        if (::write(fd, "+", 1) != 1) ::_exit(4);
    }
}

TEST(FolderListCrash, AProcessKilledWhileRewritingTheListLosesNoEntry) {
    testing::PrivateDataHome home("folder-list-crash");
    const std::filesystem::path list = home.Base() / "folders.bin";
    // A large list, so that each rewrite takes a while.
    std::vector<FolderEntry> old;
    for (int i = 0; i < 3000; ++i) {
        const std::u16string key = FolderKey(Folder(std::string(200, 'x') + std::to_string(i)));
        old.push_back(FolderEntry{platform::CreateUuid(), key});
    }
    WriteBytes(list, SerializeFolderList(old));
    std::vector<std::u16string> added;
    for (int round = 0; round < 8; ++round) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) AddFoldersForever(fds[1], round);
        ::close(fds[1]);
        char done = 0;
        for (int i = 0; i <= round % 3; ++i) {
            ASSERT_EQ(::read(fds[0], &done, 1), 1);
            added.push_back(
                FolderKey(Folder("new/" + std::to_string(round) + "/" + std::to_string(i))));
        }
        ::kill(child, SIGKILL);  // in the middle of one of the next rewrites
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(fds[0]);

        const std::vector<FolderEntry> now = ParseFolderList(ReadBytes(list));
        ASSERT_GE(now.size(), old.size() + added.size()) << "round " << round;
        for (size_t i = 0; i < old.size(); ++i) {
            ASSERT_EQ(now[i].key, old[i].key) << i;
            ASSERT_TRUE(now[i].guid == old[i].guid) << i;
        }
        for (const std::u16string& key : added) {
            EXPECT_TRUE(std::any_of(now.begin(), now.end(),
                                    [&](const FolderEntry& e) { return e.key == key; }));
        }
    }
    // The next lookup of an old folder gives its data folder.
    const std::u16string base = platform::PathFromNative(home.Base().string());
    for (size_t i = 0; i < old.size(); i += 499) {
        EXPECT_EQ(DataFolderOf(old[i].key), base + u'/' + platform::UuidToString(old[i].guid));
    }
}

}  // namespace
}  // namespace kestrova
