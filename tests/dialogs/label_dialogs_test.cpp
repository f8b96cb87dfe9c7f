// The New Label size dialog and the batch file list.
#include <gtest/gtest.h>

#include <QFile>
#include <QListWidget>
#include <QMessageBox>
#include <QTemporaryDir>

#include "dialog_fixture.h"
#include "dialogs/BatchPrintDlg.h"
#include "dialogs/PropertyDialogs.h"

namespace etiqo::test {
namespace {

using LabelDialogsTest = DialogTest;

// It opens with 50 × 70. Out of range, or not a whole number: a message naming the range, and the
// dialog stays open with what was typed, so the user corrects it (the test then cancels).
TEST_F(LabelDialogsTest, NewLabelTakesSizesFrom1To1000) {
    const struct {
        const char* width;
        const char* height;
        std::optional<PixelSize> size;
    } rows[] = {
        {nullptr, nullptr, PixelSize{50, 70}},
        {"1", "1000", PixelSize{1, 1000}},
        {" 60", "40 ", PixelSize{60, 40}},
        {"0", "70", std::nullopt},
        {"50", "1001", std::nullopt},
        {"-5", "70", std::nullopt},
        {"abc", "70", std::nullopt},
        {"12.5", "70", std::nullopt},
        {"50", "", std::nullopt},
    };
    PropertyDialogs dialogs;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.width ? row.width : "as opened");
        QString message;
        OnNextModal([&](QWidget* dlg) {
            if (row.width == nullptr) {
                EXPECT_EQ(QStringList({TextOf(dlg, "widthEdit"), TextOf(dlg, "heightEdit")}),
                          QStringList({"50", "70"}));
            } else {
                Type(dlg, "widthEdit", QString::fromLatin1(row.width));
                Type(dlg, "heightEdit", QString::fromLatin1(row.height));
            }
            if (!row.size) {
                OnNextModal<QMessageBox>(
                    [&](QMessageBox* box) {
                        message = box->text();
                        box->button(QMessageBox::Ok)->click();
                    },
                    dlg);
            }
            Click(dlg, "okButton");
            if (!row.size) {
                EXPECT_TRUE(dlg->isVisible());
                EXPECT_EQ(TextOf(dlg, "widthEdit"), QString::fromLatin1(row.width));
                Click(dlg, "cancelButton");
            }
        });
        EXPECT_EQ(dialogs.AskNewLabelSize(nullptr), row.size);
        EXPECT_TRUE(row.size || (message.contains("1") && message.contains("1000"))) << message.toStdString();
    }
}

// The list stays alphabetical and OK hands it over in order (the same path may be listed twice);
// Cancel hands over nothing; files that are not labels are refused by name with the reader's reason.
TEST_F(LabelDialogsTest, BatchListTakesLabelFilesOnly) {
    QTemporaryDir dir;
    const auto make = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QByteArray label = QByteArray("60 40").leftJustified(84, '\0') + QByteArray(508, '\0');
    const QString a = make("a.lab", label), b = make("B.lab", label), c = make("c.LAB", label);
    const QStringList refused = {make("photo.png", QByteArray(600, 'x')),
                                 make("fake.lab", "not a label at all"), make("empty.lab", QByteArray()),
                                 dir.filePath("missing.lab")};
    QString message;
    OnNextModal<CBatchPrintDlg>([&](CBatchPrintDlg* dlg) {
        OnNextModal<QMessageBox>(
            [&](QMessageBox* box) {
                message = box->text();
                box->button(QMessageBox::Ok)->click();
            },
            dlg);
        dlg->AddFiles(QStringList{c, a} + refused);
        dlg->AddFiles({b, a});
        EXPECT_EQ(dlg->findChild<QListWidget*>("fileList")->count(), 4);
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    EXPECT_EQ(dialogs.ChooseBatchFiles(nullptr),
              (std::vector<std::string>{a.toStdString(), a.toStdString(), b.toStdString(), c.toStdString()}));
    EXPECT_TRUE(message.startsWith("These files are not label files"));
    for (const QString& file : refused) {
        EXPECT_TRUE(message.contains(file + ": ")) << file.toStdString();
    }
    EXPECT_FALSE(message.contains(a));

    OnNextModal<CBatchPrintDlg>([&](CBatchPrintDlg* dlg) {
        dlg->AddFiles({a});
        Click(dlg, "cancelButton");
    });
    EXPECT_TRUE(dialogs.ChooseBatchFiles(nullptr).empty());
}

}  // namespace
}  // namespace etiqo::test
