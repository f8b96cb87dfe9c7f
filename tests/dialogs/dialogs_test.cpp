// The element dialogs, New Label and the batch list, driven as a user drives them through the
// interface the canvas and the frame call.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstring>

#include "ModalDriver.h"
#include "dialogs/BatchPrintDlg.h"
#include "dialogs/ContentText.h"
#include "dialogs/PropertyDialogs.h"
#include "model/Geometry.h"
#include "render/FontMapping.h"
#include "res/Texts.h"

namespace etiqo {
namespace {

using testing::OnNextModal;

void Click(QWidget* dialog, const char* buttonName) {
    auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
    ASSERT_NE(button, nullptr) << buttonName;
    // Check boxes and radio buttons take clicks on their indicator and label only.
    const QPoint where = qobject_cast<QPushButton*>(button) != nullptr ? button->rect().center()
                                                                       : QPoint(4, button->height() / 2);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, where);
}

// Types text key by key, any script, as an input method delivers it (QTest::keyClicks knows Latin-1).
void KeyText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
            QKeyEvent key(type, 0, Qt::NoModifier, text.mid(i, n));
            QApplication::sendEvent(widget, &key);
        }
        i += n - 1;
    }
}

// Replaces the text of the named line edit as a user would: select all, delete, then type.
void Type(QWidget* dialog, const char* editName, const QString& text) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(editName));
    ASSERT_NE(edit, nullptr) << editName;
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    KeyText(edit, text);
}

QString TextOf(QWidget* dialog, const char* editName) {
    auto* edit = dialog->findChild<QLineEdit*>(QString::fromLatin1(editName));
    return edit != nullptr ? edit->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(editName));
}

QComboBox* List(QWidget* dialog, const char* name = "typeList") {
    return dialog->findChild<QComboBox*>(QString::fromLatin1(name));
}

// An element as the canvas creates it; hImage stands for a cached symbol the dialogs must leave alone.
Element New(ElementKind kind, int width, int height, const char* content = "0123456789") {
    Element e = ZeroElement();
    e.nKind = kind;
    e.nWidth = width;
    e.nHeight = height;
    e.nSize = kNoGrip;
    e.hImage = 7;
    std::strncpy(e.str, content, sizeof e.str - 1);
    return e;
}

Element NewPicture(int imageWidth, int imageHeight) {
    Element e = New(ElementKind::Picture, 100, 75, "/tmp/picture.png");
    e.nImageWidth = imageWidth;
    e.nImageHeight = imageHeight;
    return e;
}

// Opens the element's dialog as a double click does, with drive run inside it; true when confirmed.
bool Edit(Element& e, std::function<void(QWidget*)> drive, int dpiX = 203) {
    OnNextModal(std::move(drive));
    PropertyDialogs dialogs;
    switch (e.nKind) {
        case ElementKind::Barcode:
            return dialogs.EditBarcode(nullptr, e, dpiX, 203);
        case ElementKind::Code2D:
            return dialogs.Edit2DCode(nullptr, e, dpiX);
        case ElementKind::Picture:
            return dialogs.EditPictureSize(nullptr, e, dpiX, 203);
        case ElementKind::Shape:
            return dialogs.EditShape(nullptr, e);
        default:
            return dialogs.EditText(nullptr, e);
    }
}

// Cancel keeps every byte; OK stores the millimetres rounded both ways, the type, the content and
// the check boxes; EAN-13 of other than 13 bytes keeps the dialog open with a message.
TEST(ElementDialogs, Barcode) {
    Element e = New(ElementKind::Barcode, 300, 80);
    e.nSymbology = kSymbologyCode128;
    e.nMinBarHeight = 15;
    e.bShowText = 1;
    const Element before = e;
    EXPECT_FALSE(Edit(e, [](QWidget* dlg) {
        Type(dlg, "contentEdit", "changed");
        Click(dlg, "cancelButton");
    }));
    EXPECT_EQ(std::memcmp(&e, &before, sizeof e), 0);

    ASSERT_TRUE(Edit(
        e,
        [](QWidget* dlg) {
            EXPECT_EQ(QStringList({TextOf(dlg, "widthEdit"), TextOf(dlg, "heightEdit")}),
                      QStringList({"25", "10"}));  // 300 dots at 300 dpi
            List(dlg)->setCurrentIndex(2);         // CODE_39
            Type(dlg, "contentEdit", "ABC-42");
            Type(dlg, "widthEdit", "50");
            Type(dlg, "heightEdit", "12abc");  // read as atoi reads it
            Click(dlg, "showTextCheck");
            Click(dlg, "okButton");
        },
        300));
    EXPECT_EQ((std::array{e.nSymbology, e.bShowText}), (std::array{8, 0}));
    EXPECT_STREQ(e.str, "ABC-42");
    EXPECT_EQ(e.hImage, 7u) << "the canvas, not the dialog, releases the cached symbol";
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{DotsFromMm(50, 300), DotsFromMm(12, 203)}));

    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        List(dlg)->setCurrentIndex(0);                               // CODE_128
        Type(dlg, "contentEdit", "123456789012345678901234567890");  // 200 modules
        Type(dlg, "widthEdit", "35");                                // 280 dots
        Click(dlg, "fitToDotsCheck");
        Click(dlg, "showTextCheck");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ((std::array{e.nWidth, e.bShowText}), (std::array{200, 1}));  // one dot a module

    e.nSymbology = 3;  // not offered by the list: kept
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        EXPECT_EQ(List(dlg)->currentIndex(), -1);
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(e.nSymbology, 3);

    QString caption;
    bool stayedOpen = false;
    ASSERT_TRUE(Edit(e, [&](QWidget* dlg) {
        List(dlg)->setCurrentIndex(12);  // EAN-13, our own painter
        Type(dlg, "contentEdit", "692000000000");
        OnNextModal<QMessageBox>(
            [&](QMessageBox* box) {
                caption = box->windowTitle();
                EXPECT_EQ(box->icon(), QMessageBox::Critical);
                EXPECT_EQ(box->parentWidget(), nullptr) << "the message has no owner window";
                box->button(QMessageBox::Ok)->click();
            },
            dlg);
        Click(dlg, "okButton");
        stayedOpen = dlg->isVisible();
        Type(dlg, "contentEdit", "6920000000001");
        Click(dlg, "okButton");
    }));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(caption, QString::fromUtf8(Tr(TextId::Ean13LengthCaption)));
    EXPECT_EQ(e.nSymbology, kSymbologyOwnEan13);
    EXPECT_STREQ(e.str, "6920000000001");
}

TEST(ElementDialogs, TwoDCodeShowsItsSizeAndTakesSymbologyAndContent) {
    Element e = New(ElementKind::Code2D, 100, 100);
    e.nSymbology = kSymbologyQrCode;
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        EXPECT_EQ(TextOf(dlg, "sizeEdit"), "13");
        EXPECT_EQ(List(dlg)->currentIndex(), 0);
        List(dlg)->setCurrentIndex(1);  // PDF417
        Type(dlg, "contentEdit", QString::fromUtf8("标签 42"));
        Type(dlg, "sizeEdit", "30");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(e.nSymbology, kSymbologyPdf417);
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{DotsFromMm(30, 203), 100}));  // height kept
    EXPECT_EQ(ContentText(e), QString::fromUtf8("标签 42"));
    EXPECT_STREQ(e.str, "\xB1\xEA\xC7\xA9 42") << "str holds GB18030 bytes";
    EXPECT_EQ(e.hImage, 7u);
}

// The serialization dialog opens on the stored mode but the default numbers, and writes on its own
// OK only, whether the dialog that opened it is confirmed or cancelled.
TEST(ElementDialogs, SerializationIsWrittenByItsOwnOk) {
    Element e = New(ElementKind::Text, 0, 0, "A001");
    e.nSerialMode = kSerialDecrement;
    e.nSerialStep = 7;
    e.nSerialResetAt = 500;
    QStringList shown;
    EXPECT_FALSE(Edit(e, [&](QWidget* dlg) {
        Type(dlg, "contentEdit", "changed");
        for (const char* answer : {"cancelButton", "okButton"}) {
            OnNextModal(
                [&, answer](QWidget* serialize) {
                    shown = {TextOf(serialize, "stepEdit"), TextOf(serialize, "resetAtEdit"),
                             TextOf(serialize, "resetToEdit")};
                    EXPECT_TRUE(serialize->findChild<QRadioButton*>("decrementRadio")->isChecked());
                    Click(serialize, "incrementRadio");
                    Type(serialize, "stepEdit", "5");
                    Type(serialize, "resetAtEdit", "x");  // atoi gives 0
                    Click(serialize, answer);
                },
                dlg);
            Click(dlg, "serializeButton");
        }
        Click(dlg, "cancelButton");
    }));
    EXPECT_EQ(shown, QStringList({"1", "99999", "1"}));
    EXPECT_STREQ(e.str, "A001");
    EXPECT_EQ((std::array{e.nSerialMode, e.nSerialStep, e.nSerialResetAt, e.nSerialResetTo}),
              (std::array<int, 4>{kSerialIncrement, 5, 0, 1}));
}

// The content box stops at what str holds: 255 bytes in GB18030, counted in bytes, typed or pasted;
// damaged content without a NUL opens shortened; empty content is accepted.
TEST(ElementDialogs, ContentBoxKeepsToTheRecordsBytes) {
    Element e = New(ElementKind::Text, 0, 0, "");
    const QString chinese127 = QString(127, QChar(0x4E2D));  // "中": 2 bytes each, 254 in all
    ASSERT_TRUE(Edit(e, [&](QWidget* dlg) {
        auto* edit = dlg->findChild<QLineEdit*>("contentEdit");
        auto* note = dlg->findChild<QLabel*>("contentFullNote");
        edit->setText(chinese127);
        edit->end(false);
        KeyText(edit, QString::fromUtf8("中"));  // would make 256 bytes
        EXPECT_EQ(edit->text(), chinese127);
        EXPECT_TRUE(note->isVisible());
        QTest::keyClicks(edit, "a");  // 255 bytes: fits
        EXPECT_EQ(edit->text(), chinese127 + "a");
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Backspace);
        EXPECT_FALSE(note->isVisible());
        edit->selectAll();
        edit->insert(QString(256, u'x'));  // a paste goes through the same check
        EXPECT_EQ(edit->text(), QString(126, QChar(0x4E2D)));
        edit->end(false);
        QTest::keyClicks(edit, "a");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(ContentText(e), QString(126, QChar(0x4E2D)) + "a");

    std::memset(e.str, 'z', sizeof e.str);  // no NUL anywhere
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) { Click(dlg, "okButton"); }));
    EXPECT_EQ(std::string(e.str), std::string(255, 'z'));
}

TEST(ElementDialogs, PictureSizeFollowsTheSourceRatioAndEitherUnit) {
    Element e = NewPicture(800, 600);  // 100 × 75 dots
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        EXPECT_EQ(TextOf(dlg, "widthEdit"), "13");
        Type(dlg, "widthEdit", "20");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), "15");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{DotsFromMm(20, 203), DotsFromMm(15, 203)}));

    e = NewPicture(800, 600);
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        Type(dlg, "widthEdit", "40");  // discarded by the unit switch
        List(dlg, "heightUnitList")->setCurrentIndex(1);
        EXPECT_EQ(List(dlg, "widthUnitList")->currentIndex(), 1) << "both lists show the same unit";
        EXPECT_EQ(QStringList({TextOf(dlg, "widthEdit"), TextOf(dlg, "heightEdit")}),
                  QStringList({"100", "75"}));
        Type(dlg, "widthEdit", "400");
        List(dlg, "widthUnitList")->setCurrentIndex(0);
        EXPECT_EQ(List(dlg, "heightUnitList")->currentIndex(), 0);
        EXPECT_EQ(QStringList({TextOf(dlg, "widthEdit"), TextOf(dlg, "heightEdit")}),
                  QStringList({"13", "9"}));
        List(dlg, "widthUnitList")->setCurrentIndex(1);
        Click(dlg, "fixedRatioCheck");
        Type(dlg, "widthEdit", "250");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), "75") << "without the proportion the height stays";
        Type(dlg, "heightEdit", "33");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{250, 33}));

    e = NewPicture(0, 600);  // no source width: the height is left alone
    EXPECT_FALSE(Edit(e, [](QWidget* dlg) {
        Type(dlg, "widthEdit", "20");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), "9");
        Click(dlg, "cancelButton");
    }));
    EXPECT_EQ(e.nWidth, 100);
}

// A rounded rectangle proposes 30 for a corner of 0 and keeps a stored one; a triangle's apex is
// centred again; a damaged type is not replaced by another outside the list.
TEST(ElementDialogs, ShapeTypesCornersAndPens) {
    const struct {
        const char* name;
        int type, corner, choose;
        const char* shownCorner;
        int wantType, wantCorner, wantEndX;
    } rows[] = {
        {"corner proposed", kShapeRectangle, 0, kShapeRoundedRectangle, "30", kShapeRoundedRectangle, 30, 40},
        {"corner kept", kShapeRectangle, 12, kShapeRoundedRectangle, "12", kShapeRoundedRectangle, 12, 40},
        {"triangle", kShapeTriangle, 0, kShapeTriangle, "0", kShapeTriangle, 0, -1},
        {"damaged", 9, 0, -1, "0", 9, 0, 40},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Element e = New(ElementKind::Shape, 200, 120, "");
        e.nShapeType = row.type;
        e.nCornerSize = row.corner;
        e.nEndX = 40;
        e.nPenWidth = 4;
        ASSERT_TRUE(Edit(e, [&row](QWidget* dlg) {
            EXPECT_EQ(List(dlg)->currentIndex(), row.type == 9 ? -1 : row.type);
            EXPECT_FALSE(List(dlg)->isEditable());
            EXPECT_EQ(TextOf(dlg, "penWidthEdit"), "4");
            if (row.choose >= 0) {
                List(dlg)->setCurrentIndex(row.choose);
            }
            EXPECT_EQ(TextOf(dlg, "cornerEdit"), row.shownCorner);
            Type(dlg, "penWidthEdit", "9");
            Click(dlg, "okButton");
        }));
        EXPECT_EQ((std::array{e.nShapeType, e.nCornerSize, e.nEndX, e.nPenWidth}),
                  (std::array{row.wantType, row.wantCorner, row.wantEndX, 9}));
    }
    Element e = New(ElementKind::Shape, 200, 120, "");
    const Element before = e;
    EXPECT_FALSE(Edit(e, [](QWidget* dlg) {
        List(dlg)->setCurrentIndex(kShapeEllipse);
        Click(dlg, "cancelButton");
    }));
    EXPECT_EQ(std::memcmp(&e, &before, sizeof e), 0);
}

// The font dialog opens on the family that draws the face, keeps the face on OK there, and otherwise
// replaces face and style but keeps the height.
TEST(ElementDialogs, FontDialog) {
    LOGFONTA font{};
    font.lfHeight = 20;
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "\xCB\xCE\xCC\xE5");  // 宋体
    OnNextModal<QDialog>([](QDialog* dlg) {
        EXPECT_EQ(dlg->property("currentFont").value<QFont>().family(), ResolveFamily("\xCB\xCE\xCC\xE5"));
        dlg->accept();  // OK on the stand-in that draws the face keeps the face
    });
    ASSERT_TRUE(PropertyDialogs().EditFont(nullptr, font));
    EXPECT_STREQ(font.lfFaceName, "\xCB\xCE\xCC\xE5");
    OnNextModal<QDialog>([](QDialog* dlg) {
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setBold(true);
        chosen.setUnderline(true);
        chosen.setPointSize(30);
        dlg->setProperty("currentFont", chosen);
        dlg->accept();
    });
    ASSERT_TRUE(PropertyDialogs().EditFont(nullptr, font));
    EXPECT_STREQ(font.lfFaceName, "DejaVu Sans");
    EXPECT_EQ((std::array{font.lfWeight, font.lfHeight}), (std::array{700, 20}));
    EXPECT_EQ((std::array{font.lfUnderline, font.lfItalic}), (std::array<std::uint8_t, 2>{1, 0}));
}

// It opens with 50 × 70. Out of range, or not a whole number: a message naming the range, and the
// dialog stays open with what was typed, so the user corrects it (the test then cancels).
TEST(LabelDialogs, NewLabelTakesSizesFrom1To1000) {
    const struct {
        const char* width;
        const char* height;
        std::optional<PixelSize> size;
    } rows[] = {
        {nullptr, nullptr, PixelSize{50, 70}}, {"1", "1000", PixelSize{1, 1000}}, {"0", "70", std::nullopt},
        {"50", "1001", std::nullopt},          {"abc", "70", std::nullopt},       {"50", "", std::nullopt},
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
TEST(LabelDialogs, BatchListTakesLabelFilesOnly) {
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
}  // namespace etiqo
