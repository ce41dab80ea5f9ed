#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "settings/atomic_file.h"
#include "settings/form_storage.h"
#include "settings/ini_text.h"
#include "tests/support/fake_stored_form.h"
#include "tests/support/temp_folder.h"

namespace ornet5 {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kOther = "[Other]\r\nKeep=me\r\n\r\n";
constexpr std::string_view kKeys[] = {"FormVersion",
                                      "Flags",
                                      "ShowCmd",
                                      "PixelsPerInch",
                                      "MinMaxPos(1024x768)",
                                      "MinMaxPos",
                                      "NormPos(1024x768)",
                                      "NormPos",
                                      "Visible",
                                      "CB_ComPort_Speed_ItemIndex",
                                      "CB_ComPort_ItemIndex",
                                      "rbRentgen_Checked",
                                      "rbZv_Checked"};

// Shows the window once, then saves with changing choices until killed.
[[noreturn]] void SaveForever(const fs::path& file) {
    test::TFakeForm form;
    TFormStorage storage(form, form, {file, "ORNET5.INI"});
    storage.SetOptions({TPlacementOption::Position});
    storage.SetStoredProps({"CB_ComPort_Speed.ItemIndex", "CB_ComPort.ItemIndex",
                            "rbRentgen.Checked", "rbZv.Checked"});
    storage.Loaded({});
    storage.FormShow();
    form.visible = true;
    for (int i = 0;; ++i) {
        form.Control("CB_ComPort").itemIndex = i % 4;
        form.Control("CB_ComPort_Speed").itemIndex = i % 5;
        form.placement.normalPosition.left = i;
        storage.SaveSettings();
    }
}

bool HoldsEveryKey(const std::string& content) {
    for (const std::string_view key : kKeys) {
        const auto value = FindProfileValue(content, "TTrelanADCFace", key);
        if (!value || value->empty()) {
            return false;
        }
    }
    return true;
}

// Until the first complete save has landed, a kill would rightly leave keys
// missing; how long that save takes depends on the disk and the load.
bool WaitForTheFirstCompleteSave(const fs::path& file) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!HoldsEveryKey(test::ReadAll(file))) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

void ExpectCompleteFile(const std::string& content, int round) {
    ASSERT_FALSE(content.empty()) << round;
    EXPECT_EQ(content.substr(0, kOther.size()), kOther) << round;
    ASSERT_TRUE(HoldsEveryKey(content)) << "round " << round << ":\n" << content;
    const auto port = FindProfileValue(content, "TTrelanADCFace", "CB_ComPort_ItemIndex");
    EXPECT_TRUE(*port >= "0" && *port <= "3") << *port;
}

TEST(SettingsSaveInterrupted, AKilledSaveNeverLeavesAPartialFile) {
    test::TTempFolder folder;
    const fs::path file = folder.Path() / "ORNET5.INI";
    test::WriteAll(file, kOther);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayMicroseconds(200, 40000);
    constexpr int kRounds = 40;
    for (int round = 0; round < kRounds; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SaveForever(file);
        }
        const bool firstSaveDone = round > 0 || WaitForTheFirstCompleteSave(file);
        std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));
        ASSERT_TRUE(firstSaveDone);
        ExpectCompleteFile(test::ReadAll(file), round);
    }
    int leftovers = 0;
    for (const auto& entry : fs::directory_iterator(folder.Path())) {
        leftovers += entry.path().filename().string().starts_with(TemporaryFilePrefix(file));
    }
    // Kills that landed between a temporary file's creation and its rename.
    RecordProperty("leftover_temporaries", leftovers);
    EXPECT_LE(leftovers, kRounds);
}

}  // namespace
}  // namespace ornet5
