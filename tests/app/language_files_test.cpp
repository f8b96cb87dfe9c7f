// The language choice, the recent-file list and the label file dialogs.
#include <gtest/gtest.h>

#include <QFile>
#include <QLocale>
#include <QSettings>
#include <QTemporaryDir>

#include "ModalDriver.h"
#include "app/LabelFileDialogs.h"
#include "app/Language.h"
#include "app/RecentFiles.h"
#include "res/Texts.h"

namespace etiqo {
namespace {

using testing::AnswerFileDialog;
using testing::AnswerMessageBox;

TEST(Language, OnlyChineseAsUsedInChinaSelectsChinese) {
    const std::pair<const char*, bool> cases[] = {
        {"zh_CN", true},  {"zh_TW", false}, {"zh_HK", false}, {"zh_SG", false},
        {"en_US", false}, {"de_DE", false}, {"C", false},
    };
    for (const auto& [name, chinese] : cases) {
        EXPECT_EQ(IsChineseLocale(QLocale(QString::fromLatin1(name))), chinese) << name;
    }
}

// Settings go to a private folder for the whole test program.
class SettingsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        SetUpApplicationSettings();
        QSettings().clear();
    }
    QTemporaryDir dir;
};

TEST_F(SettingsFixture, RecentFilesKeepsFourNewestFirst) {
    {
        RecentFiles recent;
        for (const char* name : {"a.lab", "b.lab", "c.lab", "d.lab", "e.lab", "c.lab"}) {
            recent.Add(dir.filePath(QString::fromLatin1(name)));
        }
    }
    const RecentFiles reread;
    EXPECT_EQ(reread.Entries(), (QStringList{dir.filePath("c.lab"), dir.filePath("e.lab"),
                                             dir.filePath("d.lab"), dir.filePath("b.lab")}));
    EXPECT_EQ(reread.LastFolder(), dir.path());
}

class FileDialogs : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        SetChineseInterface(false);
    }
    void TearDown() override { SetChineseInterface(false); }
};

TEST_F(FileDialogs, SaveAppendsTheExtension) {
    AnswerFileDialog(dir.filePath("shelf"));
    EXPECT_EQ(AskSaveLabelPath(nullptr, dir.path()), dir.filePath("shelf.lab"));
}

TEST_F(FileDialogs, SaveKeepsAnExtensionTheUserTyped) {
    AnswerFileDialog(dir.filePath("shelf.bin"));
    EXPECT_EQ(AskSaveLabelPath(nullptr, dir.path()), dir.filePath("shelf.bin"));
}

TEST_F(FileDialogs, SaveCancelled) {
    AnswerFileDialog(QString());
    EXPECT_TRUE(AskSaveLabelPath(nullptr, dir.path()).isEmpty());
}

TEST_F(FileDialogs, OverwriteQuestionInBothLanguages) {
    QFile existing(dir.filePath("shelf.lab"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();

    struct Case {
        bool bChinese;
        QMessageBox::StandardButton answer;
        const char* caption;
        const char* text;
    };
    const Case cases[] = {
        {false, QMessageBox::No, "Etiqo", "The file already exists. Do you want to overwrite it?"},
        {false, QMessageBox::Yes, "Etiqo", "The file already exists. Do you want to overwrite it?"},
        {true, QMessageBox::No, "Vanto标签编辑器", "标签文件已经存在，是否覆盖？"},
    };
    for (const Case& c : cases) {
        SetChineseInterface(c.bChinese);
        AnswerFileDialog(dir.filePath("shelf"));
        const auto seen = AnswerMessageBox(c.answer);
        const QString path = AskSaveLabelPath(nullptr, dir.path());
        EXPECT_TRUE(seen->shown);
        EXPECT_EQ(seen->caption, QString::fromUtf8(c.caption));
        EXPECT_EQ(seen->text, QString::fromUtf8(c.text));
        EXPECT_EQ(path, c.answer == QMessageBox::Yes ? dir.filePath("shelf.lab") : QString());
    }
}

TEST_F(FileDialogs, FilterInBothLanguages) {
    EXPECT_EQ(LabelFileFilter(), QString::fromUtf8("Lable Files(*.lab)"));
    SetChineseInterface(true);
    EXPECT_EQ(LabelFileFilter(), QString::fromUtf8("标签文件(*.lab)"));
}

TEST_F(FileDialogs, OpenReturnsTheChosenFile) {
    QFile existing(dir.filePath("bin.lab"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    AnswerFileDialog(dir.filePath("bin.lab"));
    EXPECT_EQ(AskOpenLabelPath(nullptr, dir.path()), dir.filePath("bin.lab"));
    AnswerFileDialog(QString());
    EXPECT_TRUE(AskOpenLabelPath(nullptr, dir.path()).isEmpty());
}

}  // namespace
}  // namespace etiqo
