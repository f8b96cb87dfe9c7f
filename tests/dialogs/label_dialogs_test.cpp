// The New Label size dialog and the batch file list.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>

#include "dialog_fixture.h"
#include "dialogs/BatchPrintDlg.h"
#include "dialogs/PropertyDialogs.h"
#include "modal_driver.h"

namespace etiqo::test {
namespace {

using LabelDialogsTest = DialogTest;

TEST_F(LabelDialogsTest, NewLabelOpensWith50By70) {
    OnNextModal([](QWidget* dlg) {
        EXPECT_EQ(TextOf(dlg, "widthEdit"), "50");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), "70");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    EXPECT_EQ(dialogs.AskNewLabelSize(nullptr), (PixelSize{50, 70}));

    OnNextModal([](QWidget* dlg) { Click(dlg, "cancelButton"); });
    EXPECT_EQ(dialogs.AskNewLabelSize(nullptr), std::nullopt);
}

struct RangeCase {
    const char* width;
    const char* height;
    bool accepted;
};

class NewLabelRangeTest : public DialogTest, public ::testing::WithParamInterface<RangeCase> {};

// Out of range, or not a whole number: a message naming the range, and the dialog stays open
// with what was typed, so the user corrects it (the test then cancels).
TEST_P(NewLabelRangeTest, RefusesSizesOutside1To1000) {
    QString message;
    bool stayedOpen = false;
    QString widthAfter;
    OnNextModal([&](QWidget* dlg) {
        Type(dlg, "widthEdit", QString::fromLatin1(GetParam().width));
        Type(dlg, "heightEdit", QString::fromLatin1(GetParam().height));
        if (!GetParam().accepted) {
            OnNextModal(
                [&](QWidget* box) {
                    auto* messageBox = qobject_cast<QMessageBox*>(box);
                    ASSERT_NE(messageBox, nullptr);
                    message = messageBox->text();
                    messageBox->button(QMessageBox::Ok)->click();
                },
                dlg);
        }
        Click(dlg, "okButton");
        stayedOpen = dlg->isVisible();
        widthAfter = TextOf(dlg, "widthEdit");
        if (stayedOpen) {
            Click(dlg, "cancelButton");
        }
    });
    PropertyDialogs dialogs;
    const std::optional<PixelSize> size = dialogs.AskNewLabelSize(nullptr);
    if (GetParam().accepted) {
        ASSERT_TRUE(size.has_value());
        EXPECT_EQ(size->width, QString::fromLatin1(GetParam().width).trimmed().toInt());
        EXPECT_EQ(size->height, QString::fromLatin1(GetParam().height).trimmed().toInt());
    } else {
        EXPECT_FALSE(size.has_value());
        EXPECT_TRUE(stayedOpen);
        EXPECT_EQ(widthAfter, QString::fromLatin1(GetParam().width));
        EXPECT_TRUE(message.contains("1") && message.contains("1000")) << message.toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, NewLabelRangeTest,
                         ::testing::Values(RangeCase{"1", "1000", true}, RangeCase{" 60", "40 ", true},
                                           RangeCase{"0", "70", false}, RangeCase{"50", "1001", false},
                                           RangeCase{"-5", "70", false}, RangeCase{"abc", "70", false},
                                           RangeCase{"12.5", "70", false}, RangeCase{"50", "", false}));

// ---- batch file list -----------------------------------------------------------------------

class BatchDialogTest : public DialogTest {
protected:
    QString MakeFile(const QString& name, const QByteArray& bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QString MakeLabel(const QString& name) {
        QByteArray bytes(84, '\0');
        bytes.replace(0, 5, "60 40");
        return MakeFile(name, bytes + QByteArray(508, '\0'));
    }
    QTemporaryDir dir;
};

TEST_F(BatchDialogTest, ListStaysAlphabeticalAndPrintHandsItOverInOrder) {
    const QString a = MakeLabel("a.lab"), b = MakeLabel("B.lab"), c = MakeLabel("c.LAB");
    std::vector<std::string> files;
    OnNextModal([&](QWidget* dlg) {
        auto* batch = qobject_cast<CBatchPrintDlg*>(dlg);
        ASSERT_NE(batch, nullptr);
        batch->AddFiles({c, a});
        batch->AddFiles({b, a});  // the same path may be listed twice
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    files = dialogs.ChooseBatchFiles(nullptr);
    EXPECT_EQ(files,
              (std::vector<std::string>{a.toStdString(), a.toStdString(), b.toStdString(), c.toStdString()}));
}

TEST_F(BatchDialogTest, CancelHandsOverNothing) {
    const QString a = MakeLabel("a.lab");
    OnNextModal([&](QWidget* dlg) {
        qobject_cast<CBatchPrintDlg*>(dlg)->AddFiles({a});
        Click(dlg, "cancelButton");
    });
    PropertyDialogs dialogs;
    EXPECT_TRUE(dialogs.ChooseBatchFiles(nullptr).empty());
}

TEST_F(BatchDialogTest, FilesThatAreNotLabelsAreRefusedByName) {
    const QString good = MakeLabel("good.lab");
    const QString picture = MakeFile("photo.png", QByteArray(600, 'x'));
    const QString fake = MakeFile("fake.lab", QByteArray("not a label at all, really"));
    const QString empty = MakeFile("empty.lab", QByteArray());
    const QString missing = dir.filePath("missing.lab");
    QString message;
    OnNextModal([&](QWidget* dlg) {
        OnNextModal(
            [&](QWidget* box) {
                message = qobject_cast<QMessageBox*>(box)->text();
                qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
            },
            dlg);
        qobject_cast<CBatchPrintDlg*>(dlg)->AddFiles({picture, good, fake, empty, missing});
        EXPECT_EQ(dlg->findChild<QListWidget*>("fileList")->count(), 1);
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    EXPECT_EQ(dialogs.ChooseBatchFiles(nullptr), std::vector<std::string>{good.toStdString()});
    // Each refused file is named with the reason the label reader gives.
    for (const QString& refused : {picture, fake, empty, missing}) {
        EXPECT_TRUE(message.contains(refused + ": ")) << refused.toStdString();
    }
    EXPECT_FALSE(message.contains(good));
    EXPECT_TRUE(message.startsWith("These files are not label files"));
}

}  // namespace
}  // namespace etiqo::test
