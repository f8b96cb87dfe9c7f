// The language choice, the recent-file list and the label file dialogs.
#include <gtest/gtest.h>

#include <optional>

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
        {"zh_CN", true}, {"zh_TW", false}, {"en_US", false}, {"C", false}};
    for (const auto& [name, chinese] : cases) {
        EXPECT_EQ(IsChineseLocale(QLocale(QString::fromLatin1(name))), chinese) << name;
    }
}

// Settings go to a private folder for the whole test program.
class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        QSettings::setDefaultFormat(QSettings::IniFormat);
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
        SetUpApplicationSettings();
        QSettings().clear();
        SetChineseInterface(false);
    }
    QTemporaryDir dir;
};

TEST_F(FileDialogs, RecentFilesKeepsFourNewestFirst) {
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

TEST_F(FileDialogs, SaveAndOpenNameTheFileAndSaveAsksBeforeOverwriting) {
    QFile existing(dir.filePath("shelf.lab"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    const struct {
        const char* name;
        QString typed;
        std::optional<QMessageBox::StandardButton> answer;  // asked only over an existing file
        QString saved;
    } rows[] = {
        {"extension appended", dir.filePath("other"), std::nullopt, dir.filePath("other.lab")},
        {"typed extension kept", dir.filePath("shelf.bin"), std::nullopt, dir.filePath("shelf.bin")},
        {"cancelled", QString(), std::nullopt, QString()},
        {"overwrite refused", dir.filePath("shelf"), QMessageBox::No, QString()},
        {"overwrite accepted", dir.filePath("shelf"), QMessageBox::Yes, dir.filePath("shelf.lab")},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AnswerFileDialog(row.typed);
        const auto seen = row.answer ? AnswerMessageBox(*row.answer) : nullptr;
        EXPECT_EQ(AskSaveLabelPath(nullptr, dir.path()), row.saved);
        if (seen) {
            EXPECT_TRUE(seen->shown);
            EXPECT_TRUE(seen->text.contains(QStringLiteral("overwrite")));
        }
    }
    for (const QString& chosen : {dir.filePath("shelf.lab"), QString()}) {
        AnswerFileDialog(chosen);
        EXPECT_EQ(AskOpenLabelPath(nullptr, dir.path()), chosen);
    }
}

}  // namespace
}  // namespace etiqo
