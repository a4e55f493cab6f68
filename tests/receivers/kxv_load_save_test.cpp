// Save and Load of the KXV page through the file dialogs: round trips of all 26 parameters,
// files as other programs and people leave them, and files that fail.

#include <fcntl.h>
#include <signal.h>
#include <sys/fsuid.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>
#include <utility>

#include "kxv_page_harness.h"
#include "receivers/kxv_messages.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrova::test;
using namespace kxv;
using kxv::page_ids::kLoad;
using kxv::page_ids::kSave;

class KxvLoadSaveTest : public KxvPageTest {
  protected:
    void SetUp() override {
        KxvPageTest::SetUp();
        dir = fs::temp_directory_path() /
              ("kestrova-kxv-" + std::to_string(getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
        modal.AnswerWith([this](const platform::ModalRecord& r) {
            if (r.kind == platform::ModalKind::MessageBox) return platform::ModalAnswer{IDYES};
            dialogs.push_back(r);
            return platform::ModalAnswer{IDOK, nextPath};
        });
    }
    void TearDown() override {
        fs::remove_all(dir);
        KxvPageTest::TearDown();
    }
    // Clicks Save or Load and answers its file dialog with `path`.
    void Choose(int button, const fs::path& path) {
        nextPath = path.string();
        ASSERT_TRUE(Click(&page, button));
    }
    static std::string Contents(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void Put(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    std::vector<std::string> Files(const fs::path& folder) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename());
        return names;
    }
    std::vector<std::string> Files() { return Files(dir); }
    // Saves to `path` with a file-size limit standing in for a full disk: writes past `bytes`
    // fail.
    void SaveOnAFullDisk(const fs::path& path, rlim_t bytes) {
        struct rlimit old {};
        getrlimit(RLIMIT_FSIZE, &old);
        const auto oldSignal = signal(SIGXFSZ, SIG_IGN);
        struct rlimit small = old;
        small.rlim_cur = bytes;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        Choose(kSave, path);
        setrlimit(RLIMIT_FSIZE, &old);
        signal(SIGXFSZ, oldSignal);
    }

    fs::path dir;
    std::string nextPath;
    std::vector<platform::ModalRecord> dialogs;
};

TEST_F(KxvLoadSaveTest, SaveWritesWhatThePagesShowAndLoadRestoresAll26WithoutTheBus) {
    const int own[] = {1,   2,   0, 255, 0,   0,   255, 0,   1,   2, 3, 197, 198,
                       199, 200, 7, 108, 148, 127, 129, 140, 111, 0, 1, 1,   0};
    for (const Parameter& p : kParameters) SetReceiverValue(p.key, own[p.k]);
    StartOnReceiver();
    ReadAll();
    const Values read = page.HeldValues();
    Choose(kSave, dir / "set.csv");
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_FALSE(dialogs[0].openFile);
    EXPECT_EQ(dialogs[0].filter, "Config文件(*.csv)|*.csv|所有文件(*.*) |*.*||");
    EXPECT_EQ(dialogs[0].defaultExt, "csv");
    EXPECT_EQ(Contents(dir / "set.csv"), FormatParameterFile(read));
    EXPECT_EQ(Files(), std::vector<std::string>{"set.csv"}) << "nothing left beside it";

    Run(page_ids::kDefault, 10001);
    ASSERT_NE(page.HeldValues(), read);
    const std::size_t first = wire->frames.size();
    Choose(kLoad, dir / "set.csv");
    EXPECT_TRUE(dialogs.back().openFile);
    EXPECT_TRUE(Since(first, true).empty()) << "Load does not talk to the receiver";
    for (const Parameter& p : kParameters)
        EXPECT_EQ(page.HeldValue(p.k), read[static_cast<std::size_t>(p.k)])
            << "lost in the round trip: " << p.key;
    EXPECT_STREQ(Text(angles, Control("AutoLevelOffsetAngle_Aileron")), "-20");
    EXPECT_EQ(Checked(mounting, mounting_ids::kFirstRadio + 2), BST_CHECKED);
    EXPECT_EQ(ComboSelection(Control("CompensationDirection_Aileron1")), 1);
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_F(KxvLoadSaveTest, SaveIsRefusedAsWriteIsUntilAll26AreKnown) {
    const std::string lacking = "StabilizeGain_Aileron, CrabOffsetAngle_Rudder, AUX1";
    std::string part;
    for (const Parameter& p : kParameters)
        if (lacking.find(p.key) == std::string::npos) part += std::string(p.key) + ",1\r\n";
    Put(dir / "part.csv", part);
    struct Step {
        const char* name;
        std::function<void()> act;
        std::string unknown;  // what both refusals say is not known; empty when Save saves
    };
    const Step steps[] = {
        {"a fresh page", [] {}, texts::kNoneKnownYet},
        {"a file that lacks three", [&] { Choose(kLoad, dir / "part.csv"); },
         texts::kNotKnownYet + lacking},
        {"a Read", [&] { ReadAll(); }, ""},
    };
    StartOnReceiver();
    for (const Step& s : steps) {
        s.act();
        modal.Clear();
        dialogs.clear();
        const std::size_t first = wire->frames.size();
        Choose(kSave, dir / "set.csv");
        if (s.unknown.empty()) {
            EXPECT_TRUE(modal.MessageTexts().empty()) << s.name;
            EXPECT_EQ(Contents(dir / "set.csv"), FormatParameterFile(page.HeldValues())) << s.name;
            continue;
        }
        EXPECT_TRUE(dialogs.empty()) << s.name << ": refused before the file dialog";
        EXPECT_TRUE(Files() == std::vector<std::string>{"part.csv"}) << s.name;
        ASSERT_TRUE(Click(&page, page_ids::kWrite));
        AdvanceMs(kWriteMs);
        EXPECT_TRUE(Since(first, true).empty()) << s.name;
        const std::vector<Shown> shown = modal.shown();
        ASSERT_EQ(shown.size(), 2u) << s.name;
        EXPECT_EQ(shown[0].text, texts::kNothingSaved + (" " + s.unknown) + texts::kHowToKnow);
        EXPECT_EQ(shown[1].text, texts::kNothingWritten + (" " + s.unknown) + texts::kHowToKnow);
        EXPECT_EQ(shown[0].type, shown[1].type) << s.name << ": the same kind of box";
    }
}

TEST_F(KxvLoadSaveTest, AValueNoItemNamesShowsNoneAndGoesBackUnchangedUntilTheUserPicksOne) {
    struct Odd {
        const char* key;
        int value;   // what the receiver reports, and then a file holds
        int item;    // the list item or radio the user then picks; check boxes are clicked
        int picked;  // what that pick sends
    };
    const Odd odd[] = {
        {"CompensationDirection_Rudder", 7, 0, 255},
        {"CompensationDirection_Aileron2", 1, 1, 0},  // the index of "Reverse", not its value
        {"WingType", 7, 1, 1},
        {"MountingType", 4, 3, 3},
        {"KXV_Enable", 7, 0, 1},
        {"AUX1", 2, 0, 1},
        {"QuickMode", 255, 0, 1},
    };
    CWnd* const holders[] = {&wing, &mounting, &gains, &angles, &page};  // by kxv::Holder
    const int tabs[] = {0, 1, 2, 3, -1};
    auto holder = [&](const Parameter& p) { return holders[static_cast<int>(p.holder)]; };
    auto showsNone = [&](const Parameter& p) {
        if (p.kind == Kind::kDirection) return ComboSelection(p.control) == -1;
        if (p.kind == Kind::kFlag) return Checked(*holder(p), p.control) == BST_INDETERMINATE;
        for (int i = 0; i <= p.hi; ++i)
            if (Checked(*holder(p), p.control + i) != BST_UNCHECKED) return false;
        return true;
    };
    // Every write frame of a parameter carries `value`, and the receiver holds it.
    auto sent = [&](std::size_t first, const Parameter& p, int value) {
        for (const WrittenFrame& w : OfType(Since(first), bus::kTypeWrite))
            if (w.param == p.code) EXPECT_EQ(w.value, value) << p.key;
        EXPECT_EQ(ReceiverValue(p.k), value) << p.key;
    };
    StartOnReceiver();
    Run(page_ids::kDefault, 10001);  // every list, radio and box shows a factory item
    for (const Odd& o : odd) SetReceiverValue(o.key, o.value);
    ReadAll();
    std::size_t first = wire->frames.size();
    Run(page_ids::kWrite, 10001);
    for (const Odd& o : odd) {
        EXPECT_TRUE(showsNone(Param(o.key))) << "after the Read: " << o.key;
        sent(first, Param(o.key), o.value);
    }
    Choose(kSave, dir / "set.csv");
    ParameterFileReader saved(FactoryValues());
    ASSERT_TRUE(saved.TakeText(Contents(dir / "set.csv")));
    for (const Odd& o : odd) EXPECT_EQ(saved.values()[K(o.key)], o.value) << "saved: " << o.key;

    Run(page_ids::kDefault, 10001);
    Choose(kLoad, dir / "set.csv");
    first = wire->frames.size();
    Run(page_ids::kWrite, 10001);
    for (const Odd& o : odd) {
        EXPECT_TRUE(showsNone(Param(o.key))) << "after the Load: " << o.key;
        sent(first, Param(o.key), o.value);
    }

    for (const Odd& o : odd) {
        const Parameter& p = Param(o.key);
        if (const int tab = tabs[static_cast<int>(p.holder)]; tab >= 0)
            ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, tab));
        if (p.kind == Kind::kDirection)
            ASSERT_TRUE(ChooseComboItem(&gains, p.control, o.item)) << o.key;
        else
            ASSERT_TRUE(Click(holder(p), p.control + o.item)) << o.key;
    }
    first = wire->frames.size();
    Run(page_ids::kWrite, 10001);
    for (const Odd& o : odd) sent(first, Param(o.key), o.picked);
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_F(KxvLoadSaveTest, EveryValueAReadCanGiveIsSavedAndLoadedBackAsHeld) {
    StartOnReceiver();
    ReadAll();
    for (int byte = 0; byte <= 255; ++byte) {
        // Every parameter holds the byte, as a Read stores and shows its answers.
        for (const Parameter& p : kParameters) page.HeldValue(p.k) = byte;
        page.ExchangeSubPages(1);
        Choose(kSave, dir / "set.csv");
        const Values saved = page.HeldValues();
        for (const Parameter& p : kParameters) page.HeldValue(p.k) = -1;
        Choose(kLoad, dir / "set.csv");
        EXPECT_EQ(page.HeldValues(), saved) << "byte " << byte;
    }
}

TEST_F(KxvLoadSaveTest, APartialFileKeepsWriteLockedUntilTheUserSetsWhatItLacks) {
    const std::string lacking = "StabilizeGain_Aileron, CrabOffsetAngle_Rudder, AUX1";
    std::string text;
    for (const Parameter& p : kParameters)
        if (lacking.find(p.key) == std::string::npos) text += std::string(p.key) + ",1\r\n";
    Put(dir / "part.csv", text);
    StartOnReceiver();
    Choose(kLoad, dir / "part.csv");
    ASSERT_TRUE(Click(&page, page_ids::kWrite));
    EXPECT_EQ(modal.MessageTexts(),
              std::vector<std::string>{std::string(texts::kNothingWritten) + " " +
                                       texts::kNotKnownYet + lacking + texts::kHowToKnow});
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 2));
    ASSERT_TRUE(Type(&gains, Control("StabilizeGain_Aileron"), "60"));
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 3));
    EXPECT_STREQ(Text(angles, Control("CrabOffsetAngle_Rudder")), "0") << "untouched: 0°";
    ASSERT_TRUE(Type(&angles, Control("CrabOffsetAngle_Rudder"), "5"));
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 0));
    ASSERT_TRUE(Click(&wing, wing_ids::kAux1));
    Run(page_ids::kWrite, kWriteMs);
    EXPECT_EQ((std::vector<int>{ReceiverValue("StabilizeGain_Aileron"),
                                ReceiverValue("CrabOffsetAngle_Rudder"), ReceiverValue("AUX1")}),
              (std::vector<int>{60, 133, 1}));
}

TEST_F(KxvLoadSaveTest, ALoadedSetCanBeWrittenWithoutAReadFirst) {
    Put(dir / "set.csv", FormatParameterFile(FactoryValues()));
    SetReceiverValue("StabilizeGain_Aileron", 5);
    StartOnReceiver();
    Choose(kLoad, dir / "set.csv");
    Run(page_ids::kWrite, kWriteMs);
    EXPECT_TRUE(modal.MessageTexts().empty());
    EXPECT_EQ(ReceiverValue("StabilizeGain_Aileron"), 50);
}

TEST_F(KxvLoadSaveTest, FilesAsOtherProgramsAndPeopleLeaveThemLoad) {
    struct Variant {
        const char* name;
        std::string text;
        int k;
        int value;
    };
    const std::string lf = "WingType,2\nMountingType,3\nStabilizeGain_Aileron,120\n";
    const Variant variants[] = {
        {"LF line ends", lf, 7, 120},
        {"no line end after the last line", "AUX1,1\r\nCrabGain_Rudder,60", 15, 60},
        {"a UTF-8 byte order mark", "\xEF\xBB\xBFWingType,1\r\n", 0, 1},
        {"the older keys", "WING_TYPE,1\r\nlevelComp[1],138\r\nflagB7TEN,0\r\n", 17, 138},
        {"extra columns", "sideGain[0],77,,\r\n", 14, 77},
        {"CR line ends", "AUX1,1\rCrabGain_Rudder,60\r", 15, 60},
        {"a wing type no radio shows, kept as a Read keeps it", "WingType,7\r\n", 0, 7},
    };
    StartOnReceiver();
    for (const Variant& v : variants) {
        Put(dir / "in.csv", v.text);
        modal.Clear();
        Choose(kLoad, dir / "in.csv");
        EXPECT_TRUE(modal.MessageTexts().empty()) << v.name;
        EXPECT_EQ(page.HeldValue(v.k), v.value) << v.name;
    }
}

TEST_F(KxvLoadSaveTest, BadFilesAreRefusedWithAReasonAndChangeNothing) {
    struct Bad {
        const char* name;
        std::string text;
        std::string says;
    };
    const Bad bad[] = {
        {"an empty file", "", texts::kNoParameters},
        {"no known key", "Name,Value\r\nfoo,1\r\n", texts::kNoParameters},
        {"text in a number field", "WingType,1\r\nUprightGain_Rudder,high\r\n", "not a number"},
        {"a truncated last line", "WingType,1\r\nKXV_Enable,", "KXV_Enable"},
        {"a gain no byte carries", "StabilizeGain_Aileron,300\r\n", "300 is outside 0 to 255"},
        {"an angle no byte carries", "CrabOffsetAngle_Rudder,128", "outside -128 to 127"},
        {"a file over 64 KiB", std::string(kMaxFileBytes + 1, '\n'), texts::kTooLarge},
        {"a line over 1 KiB", "WingType," + std::string(kMaxLineBytes, ' ') + "1", "Line 1"},
        {"binary junk", std::string("\0\xff\x01,\x7e\n,,\n", 9), texts::kNoParameters},
    };
    StartOnReceiver();
    ReadAll();
    const Values before = page.HeldValues();
    for (const Bad& b : bad) {
        Put(dir / "bad.csv", b.text);
        modal.Clear();
        Choose(kLoad, dir / "bad.csv");
        const std::vector<std::string> said = modal.MessageTexts();
        ASSERT_EQ(said.size(), 1u) << b.name;
        EXPECT_NE(said[0].find(b.says), std::string::npos) << b.name << ": " << said[0];
        EXPECT_NE(said[0].find("Nothing was loaded."), std::string::npos) << said[0];
        EXPECT_EQ(page.HeldValues(), before) << b.name;
    }
}

TEST_F(KxvLoadSaveTest, AFileThatCannotBeOpenedIsNamedAndTheValuesStay) {
    StartOnReceiver();
    ReadAll();
    const Values before = page.HeldValues();
    for (const fs::path& p : {dir / "missing.csv", dir}) {
        modal.Clear();
        Choose(kLoad, p);
        ASSERT_EQ(modal.MessageTexts().size(), 1u) << p;
        EXPECT_EQ(modal.MessageTexts()[0].rfind(texts::kCannotOpen, 0), 0u)
            << modal.MessageTexts()[0];
        EXPECT_EQ(page.HeldValues(), before);
    }
}

TEST_F(KxvLoadSaveTest, CancellingEitherDialogChangesNothing) {
    StartOnReceiver();
    ReadAll();
    const Values before = page.HeldValues();
    modal.AnswerWith([](const platform::ModalRecord&) { return platform::ModalAnswer{IDCANCEL}; });
    ASSERT_TRUE(Click(&page, kLoad));
    ASSERT_TRUE(Click(&page, kSave));
    EXPECT_EQ(page.HeldValues(), before);
    EXPECT_TRUE(Files().empty());
    EXPECT_TRUE(modal.MessageTexts().empty());
}

TEST_F(KxvLoadSaveTest, TextThatIsNoNumberStopsTheSaveBeforeItsDialog) {
    StartOnReceiver();
    ReadAll();
    ASSERT_TRUE(SelectTab(&page, page_ids::kSubPageTab, 2));
    ASSERT_TRUE(Type(&gains, Control("UprightGain_Rudder"), "fifty"));
    modal.Clear();
    Choose(kSave, dir / "never.csv");
    EXPECT_TRUE(dialogs.empty());
    ASSERT_EQ(modal.MessageTexts().size(), 1u);
    EXPECT_NE(modal.MessageTexts()[0].find("Angle Gain: Hover Mode, Rudder"), std::string::npos);
    EXPECT_NE(modal.MessageTexts()[0].find(texts::kNothingSaved), std::string::npos);
    EXPECT_TRUE(Files().empty());
}

TEST_F(KxvLoadSaveTest, ASaveThatFailsHalfWayLeavesTheEarlierFileAsItWas) {
    StartOnReceiver();
    ReadAll();
    const std::string earlier = "WingType,1\r\nthe user's earlier file\r\n";
    Put(dir / "set.csv", earlier);
    SaveOnAFullDisk(dir / "set.csv", 64);
    ASSERT_EQ(modal.MessageTexts().size(), 2u) << "asked to replace it, then told it failed";
    EXPECT_EQ(modal.MessageTexts()[1].rfind(texts::kNotSaved, 0), 0u) << modal.MessageTexts()[1];
    EXPECT_EQ(Contents(dir / "set.csv"), earlier);
    EXPECT_EQ(Files(), std::vector<std::string>{"set.csv"}) << "the partial file is gone";
}

// A folder that takes no new file while it lives, also when the test runs as root, who may
// make files anywhere: this thread then makes and opens files as nobody.
struct ReadOnlyFolder {
    explicit ReadOnlyFolder(const fs::path& folder) : folder(folder) {
        ::chmod(folder.c_str(), 0555);
        if (root) ::setfsgid(65534), ::setfsuid(65534);
    }
    ~ReadOnlyFolder() {
        if (root) ::setfsuid(0), ::setfsgid(0);
        ::chmod(folder.c_str(), 0755);
    }
    const fs::path folder;
    const bool root = ::geteuid() == 0;
};

TEST_F(KxvLoadSaveTest, ASaveThatFailsWhereOnlyAFileOfItsOwnIsSafePutsTheEarlierFileBack) {
    StartOnReceiver();
    ReadAll();
    const std::string saved = FormatParameterFile(page.HeldValues());
    const std::string earlier = "WingType,1\r\n" + std::string(1536, '#') + "\r\n";
    const std::string longName = std::string(246, 'n') + ".csv";
    const struct {
        const char* name;
        fs::path chosen, file;
    } cases[] = {
        {"a name of 250 bytes", dir / "long" / longName, dir / "long" / longName},
        {"a folder that takes no new file", dir / "read-only" / "set.csv",
         dir / "read-only" / "set.csv"},
    };
    for (const auto& c : cases) {
        fs::create_directories(c.file.parent_path());
        fs::permissions(c.file.parent_path(), fs::perms::all);
        Put(c.file, earlier);
        fs::permissions(c.file, fs::perms(0666));
    }
    ASSERT_GT(saved.size(), 300u);
    ReadOnlyFolder readOnly(dir / "read-only");
    if (::faccessat(AT_FDCWD, readOnly.folder.c_str(), W_OK, AT_EACCESS) == 0)
        GTEST_SKIP() << "a folder without write permission takes new files for this user";
    for (const auto& c : cases) {
        modal.Clear();
        SaveOnAFullDisk(c.chosen, 300);
        EXPECT_EQ(modal.MessageTexts().size(), 2u) << c.name;
        const std::string said = modal.MessageTexts().back();
        EXPECT_EQ(said.rfind(texts::kNotSaved, 0), 0u) << c.name << ": " << said;
        EXPECT_TRUE(said.ends_with(texts::kOldFileKept)) << c.name << ": " << said;
        EXPECT_EQ(Contents(c.file), earlier) << c.name;
        EXPECT_EQ(Files(c.file.parent_path()).size(), 1u) << c.name << ": nothing left beside it";

        modal.Clear();
        Choose(kSave, c.chosen);
        EXPECT_EQ(modal.MessageTexts().size(), 1u) << c.name << ": only the replace question";
        EXPECT_EQ(Contents(c.file), saved) << c.name;
        EXPECT_EQ(fs::status(c.file).permissions(), fs::perms(0666)) << c.name;
    }
}

TEST_F(KxvLoadSaveTest, LoadRefusesAtOnceWhatIsNotARegularFile) {
    ASSERT_EQ(::mkfifo((dir / "pipe.csv").c_str(), 0644), 0);
    const fs::path items[] = {dir / "pipe.csv", "/dev/null", dir};
    // Every open of the pipe is told. What is no file must not even be opened: opening a serial
    // line toggles its modem lines, and root opening a watchdog arms it.
    const int opens = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(::inotify_add_watch(opens, (dir / "pipe.csv").c_str(), IN_OPEN), 0);
    StartOnReceiver();
    ReadAll();
    const Values before = page.HeldValues();
    // Opens the pipe's other end should a Load still wait for it after a while: such a Load
    // then fails its test instead of hanging the suite.
    std::jthread rescue([pipe = dir / "pipe.csv"](std::stop_token stop) {
        std::mutex mutex;
        std::unique_lock lock(mutex);
        std::condition_variable_any().wait_for(lock, stop, std::chrono::seconds(10),
                                               [] { return false; });
        if (stop.stop_requested()) return;
        const int fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    });
    for (const fs::path& item : items) {
        modal.Clear();
        const auto start = std::chrono::steady_clock::now();
        Choose(kLoad, item);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << item;
        EXPECT_EQ(modal.MessageTexts(),
                  std::vector<std::string>{texts::kCannotOpen + item.string() +
                                           " is not a regular file." + texts::kNothingLoaded});
        EXPECT_EQ(page.HeldValues(), before) << item;
        char event[sizeof(inotify_event) + NAME_MAX + 1];
        EXPECT_LT(::read(opens, event, sizeof event), 0) << item << ": the pipe was opened";
    }
    ::close(opens);
}

TEST_F(KxvLoadSaveTest, ASaveAsksAboutTheNameWithItsExtensionAndReplacesALinksTarget) {
    StartOnReceiver();
    ReadAll();
    Put(dir / "set.csv", "old");
    fs::permissions(dir / "set.csv",
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    // A Save run as root over a user's file leaves it the user's.
    const bool root = ::geteuid() == 0;
    if (root) ASSERT_EQ(::chown((dir / "set.csv").c_str(), 12345, 12345), 0);
    fs::create_symlink("set.csv", dir / "link.csv");
    Choose(kSave, dir / "link");
    EXPECT_EQ(modal.MessageTexts(),
              std::vector<std::string>{"link.csv already exists.\nDo you want to replace it?"});
    EXPECT_TRUE(fs::is_symlink(dir / "link.csv"));
    EXPECT_EQ(Contents(dir / "set.csv"), FormatParameterFile(page.HeldValues()));
    EXPECT_EQ(fs::status(dir / "set.csv").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    if (!root) GTEST_SKIP() << "only root may give a file to another owner";
    struct stat kept {};
    ASSERT_EQ(::stat((dir / "set.csv").c_str(), &kept), 0);
    EXPECT_EQ(std::pair(kept.st_uid, kept.st_gid), std::pair(12345u, 12345u)) << "its owner";
}

TEST_F(KxvLoadSaveTest, LoadOpensTheFilePickedAndAddsTheExtensionOnlyToANameThatIsNotThere) {
    Put(dir / "noext", "AUX1,1");
    Put(dir / "noext.csv", "AUX1,0");
    Put(dir / "typed.csv", "AUX2,1");
    StartOnReceiver();
    Choose(kLoad, dir / "noext");
    Choose(kLoad, dir / "typed");
    EXPECT_EQ(page.HeldValue(K("AUX1")), 1);
    EXPECT_EQ(page.HeldValue(K("AUX2")), 1);
}

TEST_F(KxvLoadSaveTest, ASaveUnderANewNameThatFailsSaysWhyAndNothingOfAFileThatWasThere) {
    const fs::path absent = dir / "no such folder" / "set.csv";
    const fs::path readOnly = dir / "read-only" / "set.csv";
    const struct {
        const char* name;
        fs::path path;
        std::string says;
    } cases[] = {
        {"a folder that is not there", absent, absent.string() + " was not found."},
        {"a folder that takes no new file", readOnly,
         "Access to " + readOnly.string() + " was denied."},
    };
    fs::create_directories(readOnly.parent_path());
    StartOnReceiver();
    ReadAll();
    for (const auto& c : cases) {
        modal.Clear();
        {
            std::optional<ReadOnlyFolder> folder;
            if (c.path == readOnly) folder.emplace(readOnly.parent_path());
            Choose(kSave, c.path);
        }
        EXPECT_EQ(modal.MessageTexts(), std::vector<std::string>{texts::kNotSaved + c.says})
            << c.name;
        if (fs::exists(c.path.parent_path())) {
            EXPECT_TRUE(Files(c.path.parent_path()).empty()) << c.name << ": nothing is left";
        }
    }
}

TEST_F(KxvLoadSaveTest, TheDialogsStartInTheCurrentFolderHoweverLongItIs) {
    fs::path deep = dir;
    while (deep.string().size() <= 150) deep /= "a-folder-with-a-long-name";
    fs::create_directories(deep);
    const fs::path before = fs::current_path();
    fs::current_path(deep);
    StartOnReceiver();
    ReadAll();
    Choose(kSave, deep / "set.csv");
    Choose(kLoad, deep / "set.csv");
    fs::current_path(before);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[0].initialDir, deep.string());
    EXPECT_EQ(dialogs[1].initialDir, deep.string());
}

}  // namespace
