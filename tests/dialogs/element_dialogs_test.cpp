// The element dialogs driven as a user drives them, through the interface the canvas calls.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QRadioButton>

#include "dialog_fixture.h"
#include "dialogs/ContentText.h"
#include "dialogs/PropertyDialogs.h"
#include "model/Geometry.h"

namespace etiqo::test {
namespace {

using ElementDialogsTest = DialogTest;

QComboBox* TypeList(QWidget* dialog) {
    return dialog->findChild<QComboBox*>(QStringLiteral("typeList"));
}

// Opens the element's dialog as a double click does, with drive run inside it; true when it was
// confirmed.
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

TEST_F(ElementDialogsTest, BarcodeShowsMillimetresAndStoresWhatIsTypedOnOkOnly) {
    Element e = NewBarcode();
    const Element before = e;
    EXPECT_FALSE(Edit(e, [](QWidget* dlg) {
        Type(dlg, "contentEdit", "changed");
        Type(dlg, "widthEdit", "99");
        Click(dlg, "cancelButton");
    }));
    EXPECT_TRUE(SameBytes(e, before));

    QStringList shown;
    ASSERT_TRUE(Edit(e, [&](QWidget* dlg) {
        shown = {TextOf(dlg, "widthEdit"), TextOf(dlg, "heightEdit")};
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(shown, QStringList({"38", "10"}));
    // The size rounds both ways: 300 dots → 38 mm → 304 dots.
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{304, 80}));
    EXPECT_STREQ(e.str, "0123456789");
    EXPECT_EQ(e.hImage, 7u) << "the canvas, not the dialog, releases the cached symbol";

    ASSERT_TRUE(Edit(
        e,
        [](QWidget* dlg) {
            TypeList(dlg)->setCurrentIndex(2);  // CODE_39
            Type(dlg, "contentEdit", "ABC-42");
            Type(dlg, "widthEdit", "50");
            Type(dlg, "heightEdit", "12abc");  // read as atoi reads it
            Click(dlg, "showTextCheck");
            Click(dlg, "okButton");
        },
        300));
    EXPECT_EQ(e.nSymbology, 8);
    EXPECT_STREQ(e.str, "ABC-42");
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{DotsFromMm(50, 300), DotsFromMm(12, 203)}));
    EXPECT_EQ(e.bShowText, 0);

    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(0);                           // CODE_128
        Type(dlg, "contentEdit", "123456789012345678901234567890");  // 200 modules
        Type(dlg, "widthEdit", "35");                                // 280 dots
        Click(dlg, "fitToDotsCheck");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(e.nWidth, 200);  // one dot a module

    e.nSymbology = 3;  // not offered by the list: kept
    int selected = 0;
    ASSERT_TRUE(Edit(e, [&](QWidget* dlg) {
        selected = TypeList(dlg)->currentIndex();
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(selected, -1);
    EXPECT_EQ(e.nSymbology, 3);
}

TEST_F(ElementDialogsTest, Ean13OfTwelveDigitsKeepsTheDialogOpenThirteenCloseUpcEAnyLength) {
    Element e = NewBarcode();
    QMessageBox* message = nullptr;
    QString caption, text;
    bool stayedOpen = false;
    ASSERT_TRUE(Edit(e, [&](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(12);  // EAN-13, our own painter
        Type(dlg, "contentEdit", "692000000000");
        OnNextModal<QMessageBox>(
            [&](QMessageBox* box) {
                message = box;
                caption = box->windowTitle();
                text = box->text();
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
    ASSERT_NE(message, nullptr);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(caption, QString::fromUtf8(Tr(TextId::Ean13LengthCaption)));
    EXPECT_TRUE(text.contains(QStringLiteral("13"))) << text.toStdString();
    EXPECT_EQ(e.nSymbology, kSymbologyOwnEan13);
    EXPECT_STREQ(e.str, "6920000000001");

    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(8);  // UPC_E
        Type(dlg, "contentEdit", "1");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(e.nSymbology, 37);
}

TEST_F(ElementDialogsTest, TwoDCodeShowsItsSizeAndTakesSymbologyAndContent) {
    Element e = New2DCode();
    QString shown;
    ASSERT_TRUE(Edit(e, [&](QWidget* dlg) {
        shown = TextOf(dlg, "sizeEdit");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(shown, "13");  // 100 dots; stored as 104, the height kept
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{104, 100}));
    EXPECT_EQ(e.hImage, 9u);

    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        EXPECT_EQ(TypeList(dlg)->currentIndex(), 0);
        TypeList(dlg)->setCurrentIndex(1);  // PDF417
        Type(dlg, "contentEdit", QString::fromUtf8("标签 42"));
        Type(dlg, "sizeEdit", "30");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(e.nSymbology, kSymbologyPdf417);
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{DotsFromMm(30, 203), 100}));
    EXPECT_EQ(ContentText(e), QString::fromUtf8("标签 42"));
    EXPECT_STREQ(e.str, "\xB1\xEA\xC7\xA9 42") << "str holds GB18030 bytes";
}

// The serialization dialog writes on its own OK, whether the dialog that opened it is confirmed or
// cancelled; it shows the defaults, never the stored values.
TEST_F(ElementDialogsTest, SerializationIsWrittenByItsOwnOk) {
    Element text = New(ElementKind::Text, 0, 0, "A001");
    text.nSerialStep = 7;
    text.nSerialResetAt = 500;
    text.nSerialResetTo = 3;
    QStringList shown;
    EXPECT_FALSE(Edit(text, [&](QWidget* dlg) {
        Type(dlg, "contentEdit", "changed");
        OnNextModal(
            [&](QWidget* serialize) {
                shown = {TextOf(serialize, "stepEdit"), TextOf(serialize, "resetAtEdit"),
                         TextOf(serialize, "resetToEdit")};
                EXPECT_TRUE(serialize->findChild<QRadioButton*>("noSerialRadio")->isChecked());
                Click(serialize, "incrementRadio");
                Type(serialize, "stepEdit", "5");
                Type(serialize, "resetAtEdit", "x");  // atoi gives 0
                Click(serialize, "okButton");
            },
            dlg);
        Click(dlg, "serializeButton");
        Click(dlg, "cancelButton");
    }));
    EXPECT_EQ(shown, QStringList({"1", "99999", "1"}));
    EXPECT_STREQ(text.str, "A001");
    EXPECT_EQ(text.nSerialMode, kSerialIncrement);
    EXPECT_EQ((std::array{text.nSerialStep, text.nSerialResetAt, text.nSerialResetTo}),
              (std::array{5, 0, 1}));

    Element barcode = NewBarcode();
    barcode.nSerialMode = kSerialDecrement;
    barcode.nSerialStep = 4;
    EXPECT_FALSE(Edit(barcode, [](QWidget* dlg) {
        for (const char* answer : {"cancelButton", "okButton"}) {
            OnNextModal(
                [answer](QWidget* serialize) {
                    EXPECT_TRUE(serialize->findChild<QRadioButton*>("decrementRadio")->isChecked());
                    Click(serialize, "noSerialRadio");
                    Click(serialize, answer);
                },
                dlg);
            Click(dlg, "serializeButton");
        }
        Click(dlg, "cancelButton");
    }));
    EXPECT_EQ(barcode.nSerialMode, kSerialNone);
    EXPECT_EQ(barcode.nSerialStep, 1) << "only the second, confirmed visit wrote";
}

// The content box stops at what str holds: 255 bytes in GB18030, counted in bytes, typed or pasted;
// damaged content without a NUL opens shortened; empty content is accepted.
TEST_F(ElementDialogsTest, ContentBoxKeepsToTheRecordsBytes) {
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
        QTest::keyClicks(edit, "a");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(ContentText(e), QString(126, QChar(0x4E2D)) + "a");

    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        auto* edit = dlg->findChild<QLineEdit*>("contentEdit");
        const QString before = edit->text();
        edit->selectAll();
        edit->insert(QString(256, u'x'));  // a paste goes through the same check
        EXPECT_EQ(edit->text(), before);
        edit->selectAll();
        edit->insert(QString(255, u'x'));
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(std::string(e.str), std::string(255, 'x'));

    std::memset(e.str, 'z', sizeof e.str);  // no NUL anywhere
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) { Click(dlg, "okButton"); }));
    EXPECT_EQ(std::string(e.str), std::string(255, 'z'));

    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        Type(dlg, "contentEdit", "");
        Click(dlg, "okButton");
    }));
    EXPECT_STREQ(e.str, "");
}

TEST_F(ElementDialogsTest, PictureSizeFollowsTheSourceRatioAndEitherUnit) {
    Element e = NewPicture(800, 600, 100);  // 100 × 75 dots
    QStringList shown;
    ASSERT_TRUE(Edit(e, [&](QWidget* dlg) {
        shown << TextOf(dlg, "widthEdit");
        Type(dlg, "widthEdit", "20");
        shown << TextOf(dlg, "heightEdit");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(shown, QStringList({"13", "15"}));
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{DotsFromMm(20, 203), DotsFromMm(15, 203)}));

    e = NewPicture(800, 600, 100);
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        auto* widthUnit = dlg->findChild<QComboBox*>("widthUnitList");
        auto* heightUnit = dlg->findChild<QComboBox*>("heightUnitList");
        Type(dlg, "widthEdit", "40");  // discarded by the unit switch
        heightUnit->setCurrentIndex(1);
        EXPECT_EQ(widthUnit->currentIndex(), 1) << "both lists show the same unit";
        EXPECT_EQ(QStringList({TextOf(dlg, "widthEdit"), TextOf(dlg, "heightEdit")}),
                  QStringList({"100", "75"}));
        Type(dlg, "widthEdit", "400");
        widthUnit->setCurrentIndex(0);
        EXPECT_EQ(heightUnit->currentIndex(), 0);
        EXPECT_EQ(QStringList({TextOf(dlg, "widthEdit"), TextOf(dlg, "heightEdit")}),
                  QStringList({"13", "9"}));
        widthUnit->setCurrentIndex(1);
        Click(dlg, "fixedRatioCheck");
        Type(dlg, "widthEdit", "250");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), "75") << "without the proportion the height stays";
        Type(dlg, "heightEdit", "33");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ((std::array{e.nWidth, e.nHeight}), (std::array{250, 33}));

    e = NewPicture(0, 600, 100);  // no source width: the height is left alone
    EXPECT_FALSE(Edit(e, [](QWidget* dlg) {
        const QString height = TextOf(dlg, "heightEdit");
        Type(dlg, "widthEdit", "20");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), height);
        Click(dlg, "cancelButton");
    }));
    EXPECT_EQ(e.nWidth, 100);
}

TEST_F(ElementDialogsTest, ShapeTypesCornersAndPens) {
    // A rounded rectangle proposes 30 for a corner of 0 and keeps a stored one.
    for (const auto& [stored, shown] : {std::pair{0, "30"}, std::pair{12, "12"}}) {
        Element e = NewShape();
        e.nCornerSize = stored;
        ASSERT_TRUE(Edit(e, [shown](QWidget* dlg) {
            TypeList(dlg)->setCurrentIndex(kShapeRoundedRectangle);
            EXPECT_EQ(TextOf(dlg, "cornerEdit"), shown);
            Click(dlg, "okButton");
        }));
        EXPECT_EQ((std::array{e.nShapeType, e.nCornerSize}),
                  (std::array<int, 2>{kShapeRoundedRectangle, std::atoi(shown)}));
    }

    Element e = NewShape();
    e.nShapeType = kShapeTriangle;
    e.nEndX = 17;
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        EXPECT_EQ(TypeList(dlg)->currentIndex(), kShapeTriangle);
        EXPECT_FALSE(TypeList(dlg)->isEditable());
        EXPECT_EQ(TextOf(dlg, "penWidthEdit"), "4");
        Type(dlg, "penWidthEdit", "9");
        Type(dlg, "cornerEdit", "5");
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(e.nShapeType, kShapeTriangle);
    EXPECT_EQ((std::array{e.nEndX, e.nPenWidth, e.nCornerSize}), (std::array{-1, 9, 5}));  // boxes rewritten

    e = NewShape();
    const Element before = e;
    EXPECT_FALSE(Edit(e, [](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(kShapeEllipse);
        Click(dlg, "cancelButton");
    }));
    EXPECT_TRUE(SameBytes(e, before));

    e.nShapeType = 9;  // damaged: not replaced by another outside the list
    ASSERT_TRUE(Edit(e, [](QWidget* dlg) {
        EXPECT_EQ(TypeList(dlg)->currentIndex(), -1);
        Click(dlg, "okButton");
    }));
    EXPECT_EQ(e.nShapeType, 9);
}

TEST_F(ElementDialogsTest, FontDialogReplacesFaceAndStyleButKeepsTheHeight) {
    LOGFONTA font{};
    font.lfHeight = 20;
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "\xCB\xCE\xCC\xE5");  // 宋体
    OnNextModal<QDialog>([&](QDialog* dlg) {
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setBold(true);
        chosen.setUnderline(true);
        chosen.setPointSize(30);
        dlg->setProperty("currentFont", chosen);
        dlg->accept();
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditFont(nullptr, font));
    EXPECT_STREQ(font.lfFaceName, "DejaVu Sans");
    EXPECT_EQ((std::array{font.lfWeight, font.lfHeight}), (std::array{700, 20}));
    EXPECT_EQ((std::array{font.lfUnderline, font.lfItalic}), (std::array<std::uint8_t, 2>{1, 0}));
}

}  // namespace
}  // namespace etiqo::test
