// The element dialogs driven as a user drives them, through the interface the canvas calls.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTest>

#include "dialog_fixture.h"
#include "dialogs/ContentText.h"
#include "dialogs/PropertyDialogs.h"
#include "modal_driver.h"
#include "model/Geometry.h"

namespace etiqo::test {
namespace {

using ElementDialogsTest = DialogTest;

QComboBox* TypeList(QWidget* dialog) {
    return dialog->findChild<QComboBox*>(QStringLiteral("typeList"));
}

// ---- barcode -------------------------------------------------------------------------------

TEST_F(ElementDialogsTest, BarcodeShowsRoundedMillimetresAndStoresDots) {
    Element e = NewBarcode();
    QString shownWidth, shownHeight;
    OnNextModal([&](QWidget* dlg) {
        shownWidth = TextOf(dlg, "widthEdit");
        shownHeight = TextOf(dlg, "heightEdit");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditBarcode(nullptr, e, 203, 203));
    EXPECT_EQ(shownWidth, "38");
    EXPECT_EQ(shownHeight, "10");
    // The size rounds both ways: 300 dots → 38 mm → 304 dots.
    EXPECT_EQ(e.nWidth, 304);
    EXPECT_EQ(e.nHeight, 80);
    EXPECT_STREQ(e.str, "0123456789");
    EXPECT_EQ(e.hImage, 7u) << "the canvas, not the dialog, releases the cached symbol";
}

TEST_F(ElementDialogsTest, BarcodeWritesEveryControlOnOk) {
    Element e = NewBarcode();
    OnNextModal([&](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(2);  // CODE_39
        Type(dlg, "contentEdit", "ABC-42");
        Type(dlg, "widthEdit", "50");
        Type(dlg, "heightEdit", "12abc");  // read as atoi reads it
        Click(dlg, "showTextCheck");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditBarcode(nullptr, e, 300, 203));
    EXPECT_EQ(e.nSymbology, 8);
    EXPECT_STREQ(e.str, "ABC-42");
    EXPECT_EQ(e.nWidth, DotsFromMm(50, 300));
    EXPECT_EQ(e.nHeight, DotsFromMm(12, 203));
    EXPECT_EQ(e.bShowText, 0);
}

TEST_F(ElementDialogsTest, BarcodeFitToDotsStoresTheWholeDotWidthOnOk) {
    Element e = NewBarcode();
    OnNextModal([&](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(0);                           // CODE_128
        Type(dlg, "contentEdit", "123456789012345678901234567890");  // 200 modules
        Type(dlg, "widthEdit", "35");                                // 280 dots
        Click(dlg, "fitToDotsCheck");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditBarcode(nullptr, e, 203, 203));
    EXPECT_EQ(e.nWidth, 200);  // one dot a module
}

TEST_F(ElementDialogsTest, BarcodeCancelChangesNothing) {
    Element e = NewBarcode();
    const Element before = e;
    OnNextModal([&](QWidget* dlg) {
        Type(dlg, "contentEdit", "changed");
        Type(dlg, "widthEdit", "99");
        Click(dlg, "cancelButton");
    });
    PropertyDialogs dialogs;
    EXPECT_FALSE(dialogs.EditBarcode(nullptr, e, 203, 203));
    EXPECT_TRUE(SameBytes(e, before));
}

TEST_F(ElementDialogsTest, BarcodeWithUnlistedSymbologyKeepsIt) {
    Element e = NewBarcode();
    e.nSymbology = 3;  // not offered by the list
    int selected = 0;
    OnNextModal([&](QWidget* dlg) {
        selected = TypeList(dlg)->currentIndex();
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditBarcode(nullptr, e, 203, 203));
    EXPECT_EQ(selected, -1);
    EXPECT_EQ(e.nSymbology, 3);
}

TEST_F(ElementDialogsTest, Ean13OfTwelveDigitsKeepsTheDialogOpenThirteenClose) {
    Element e = NewBarcode();
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool stayedOpen = false;
    OnNextModal([&](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(12);  // EAN-13, our own painter
        Type(dlg, "contentEdit", "692000000000");
        OnNextModal(
            [&](QWidget* box) {
                auto* message = qobject_cast<QMessageBox*>(box);
                ASSERT_NE(message, nullptr);
                caption = message->windowTitle();
                text = message->text();
                icon = message->icon();
                EXPECT_EQ(message->parentWidget(), nullptr) << "the message has no owner window";
                message->button(QMessageBox::Ok)->click();
            },
            dlg);
        Click(dlg, "okButton");
        stayedOpen = dlg->isVisible();
        Type(dlg, "contentEdit", "6920000000001");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditBarcode(nullptr, e, 203, 203));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(caption, QString::fromUtf8(Tr(TextId::Ean13LengthCaption)));
    EXPECT_TRUE(text.contains(QStringLiteral("13"))) << text.toStdString();
    EXPECT_EQ(icon, QMessageBox::Critical);
    EXPECT_EQ(e.nSymbology, kSymbologyOwnEan13);
    EXPECT_STREQ(e.str, "6920000000001");
}

TEST_F(ElementDialogsTest, UpcEOfAnyLengthClosesWithoutMessage) {
    Element e = NewBarcode();
    OnNextModal([&](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(8);  // UPC_E
        Type(dlg, "contentEdit", "1");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditBarcode(nullptr, e, 203, 203));
    EXPECT_EQ(e.nSymbology, 37);
}

// ---- 2D code -------------------------------------------------------------------------------

TEST_F(ElementDialogsTest, QrOf100DotsShows13AndStores104KeepingHeight) {
    Element e = New2DCode();
    QString shown;
    OnNextModal([&](QWidget* dlg) {
        shown = TextOf(dlg, "sizeEdit");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.Edit2DCode(nullptr, e, 203));
    EXPECT_EQ(shown, "13");
    EXPECT_EQ(e.nWidth, 104);
    EXPECT_EQ(e.nHeight, 100);
    EXPECT_EQ(e.hImage, 9u);
}

TEST_F(ElementDialogsTest, TwoDCodeTakesSymbologyAndContent) {
    Element e = New2DCode();
    OnNextModal([&](QWidget* dlg) {
        EXPECT_EQ(TypeList(dlg)->currentIndex(), 0);
        TypeList(dlg)->setCurrentIndex(1);  // PDF417
        Type(dlg, "contentEdit", QString::fromUtf8("标签 42"));
        Type(dlg, "sizeEdit", "30");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.Edit2DCode(nullptr, e, 203));
    EXPECT_EQ(e.nSymbology, kSymbologyPdf417);
    EXPECT_EQ(e.nWidth, DotsFromMm(30, 203));
    EXPECT_EQ(e.nHeight, 100);
    EXPECT_EQ(ContentText(e), QString::fromUtf8("标签 42"));
    EXPECT_STREQ(e.str, "\xB1\xEA\xC7\xA9 42") << "str holds GB18030 bytes";
}

// ---- text and serialization ----------------------------------------------------------------

TEST_F(ElementDialogsTest, TextOkStoresContentAndEmptyIsAccepted) {
    PropertyDialogs dialogs;
    Element e = NewText("old");
    OnNextModal([&](QWidget* dlg) {
        EXPECT_EQ(TextOf(dlg, "contentEdit"), "old");
        Type(dlg, "contentEdit", QString::fromUtf8("新的 text"));
        Click(dlg, "okButton");
    });
    ASSERT_TRUE(dialogs.EditText(nullptr, e));
    EXPECT_EQ(ContentText(e), QString::fromUtf8("新的 text"));

    OnNextModal([&](QWidget* dlg) {
        Type(dlg, "contentEdit", "");
        Click(dlg, "okButton");
    });
    ASSERT_TRUE(dialogs.EditText(nullptr, e));
    EXPECT_STREQ(e.str, "");
}

TEST_F(ElementDialogsTest, SerializationStaysWhenTheTextDialogIsCancelled) {
    Element e = NewText("A001");
    e.nSerialStep = 7;
    e.nSerialResetAt = 500;
    e.nSerialResetTo = 3;
    QStringList shown;
    OnNextModal([&](QWidget* dlg) {
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
    });
    PropertyDialogs dialogs;
    EXPECT_FALSE(dialogs.EditText(nullptr, e));
    EXPECT_EQ(shown, QStringList({"1", "99999", "1"})) << "the stored values are never shown";
    EXPECT_STREQ(e.str, "A001");
    EXPECT_EQ(e.nSerialMode, kSerialIncrement);
    EXPECT_EQ(e.nSerialStep, 5);
    EXPECT_EQ(e.nSerialResetAt, 0);
    EXPECT_EQ(e.nSerialResetTo, 1);
}

TEST_F(ElementDialogsTest, SerializationFromTheBarcodeDialogAndItsCancel) {
    Element e = NewBarcode();
    e.nSerialMode = kSerialDecrement;
    e.nSerialStep = 4;
    OnNextModal([&](QWidget* dlg) {
        OnNextModal(
            [&](QWidget* serialize) {
                EXPECT_TRUE(serialize->findChild<QRadioButton*>("decrementRadio")->isChecked());
                Click(serialize, "noSerialRadio");
                Click(serialize, "cancelButton");
            },
            dlg);
        Click(dlg, "serializeButton");
        OnNextModal(
            [&](QWidget* serialize) {
                Click(serialize, "noSerialRadio");
                Click(serialize, "okButton");
            },
            dlg);
        Click(dlg, "serializeButton");
        Click(dlg, "cancelButton");
    });
    PropertyDialogs dialogs;
    EXPECT_FALSE(dialogs.EditBarcode(nullptr, e, 203, 203));
    EXPECT_EQ(e.nSerialMode, kSerialNone);
    EXPECT_EQ(e.nSerialStep, 1) << "only the second, confirmed visit wrote";
}

// The content box stops at what str holds: 255 bytes in GB18030, counted in bytes.
TEST_F(ElementDialogsTest, ContentBoxRefusesInputPastTheByteLimit) {
    Element e = NewText("");
    const QString chinese127 = QString(127, QChar(0x4E2D));  // "中": 2 bytes each, 254 in all
    bool noteAfterRefusal = false;
    bool noteAfterDelete = true;
    OnNextModal([&](QWidget* dlg) {
        auto* edit = dlg->findChild<QLineEdit*>("contentEdit");
        auto* note = dlg->findChild<QLabel*>("contentFullNote");
        edit->setText(chinese127);
        edit->end(false);
        KeyText(edit, QString::fromUtf8("中"));  // would make 256 bytes
        EXPECT_EQ(edit->text(), chinese127);
        noteAfterRefusal = note->isVisible();
        QTest::keyClicks(edit, "a");  // 255 bytes: fits
        EXPECT_EQ(edit->text(), chinese127 + "a");
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Backspace);
        noteAfterDelete = note->isVisible();
        QTest::keyClicks(edit, "a");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditText(nullptr, e));
    EXPECT_TRUE(noteAfterRefusal);
    EXPECT_FALSE(noteAfterDelete);
    EXPECT_EQ(ContentText(e), QString(126, QChar(0x4E2D)) + "a");
}

TEST_F(ElementDialogsTest, ContentBoxRefusesAPasteThatDoesNotFit) {
    Element e = NewText("keep");
    OnNextModal([&](QWidget* dlg) {
        auto* edit = dlg->findChild<QLineEdit*>("contentEdit");
        edit->selectAll();
        edit->insert(QString(256, u'x'));  // a paste goes through the same check
        EXPECT_EQ(edit->text(), "keep");
        edit->selectAll();
        edit->insert(QString(255, u'x'));
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditText(nullptr, e));
    EXPECT_EQ(std::string(e.str), std::string(255, 'x'));
    EXPECT_EQ(e.str[255], '\0');
}

TEST_F(ElementDialogsTest, DamagedContentWithoutNulOpensShortened) {
    Element e = NewText("");
    std::memset(e.str, 'z', sizeof e.str);  // no NUL anywhere
    OnNextModal([&](QWidget* dlg) { Click(dlg, "okButton"); });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditText(nullptr, e));
    EXPECT_EQ(std::string(e.str), std::string(255, 'z'));
}

// ---- picture size --------------------------------------------------------------------------

TEST_F(ElementDialogsTest, PictureWithFixedProportionFollowsTheSourceRatio) {
    Element e = NewPicture(800, 600, 100);
    QString openedWidth, proportionalHeight;
    OnNextModal([&](QWidget* dlg) {
        openedWidth = TextOf(dlg, "widthEdit");
        Type(dlg, "widthEdit", "20");
        proportionalHeight = TextOf(dlg, "heightEdit");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditPictureSize(nullptr, e, 203, 203));
    EXPECT_EQ(openedWidth, "13");
    EXPECT_EQ(proportionalHeight, "15");
    EXPECT_EQ(e.nWidth, DotsFromMm(20, 203));
    EXPECT_EQ(e.nHeight, DotsFromMm(15, 203));
}

TEST_F(ElementDialogsTest, PictureUnitSwitchShowsDotsAndDiscardsTypedValues) {
    Element e = NewPicture(800, 600, 100);  // 100 × 75 dots
    OnNextModal([&](QWidget* dlg) {
        auto* widthUnit = dlg->findChild<QComboBox*>("widthUnitList");
        auto* heightUnit = dlg->findChild<QComboBox*>("heightUnitList");
        Type(dlg, "widthEdit", "40");
        heightUnit->setCurrentIndex(1);
        EXPECT_EQ(widthUnit->currentIndex(), 1) << "both lists show the same unit";
        EXPECT_EQ(TextOf(dlg, "widthEdit"), "100");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), "75");
        Type(dlg, "widthEdit", "400");
        widthUnit->setCurrentIndex(0);
        EXPECT_EQ(heightUnit->currentIndex(), 0);
        EXPECT_EQ(TextOf(dlg, "widthEdit"), "13");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), "9");
        widthUnit->setCurrentIndex(1);
        Click(dlg, "fixedRatioCheck");
        Type(dlg, "widthEdit", "250");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), "75") << "without the proportion the height stays";
        Type(dlg, "heightEdit", "33");
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditPictureSize(nullptr, e, 203, 203));
    EXPECT_EQ(e.nWidth, 250);
    EXPECT_EQ(e.nHeight, 33);
}

TEST_F(ElementDialogsTest, PictureOfZeroSourceWidthLeavesTheHeightAlone) {
    Element e = NewPicture(0, 600, 100);
    OnNextModal([&](QWidget* dlg) {
        const QString height = TextOf(dlg, "heightEdit");
        Type(dlg, "widthEdit", "20");
        EXPECT_EQ(TextOf(dlg, "heightEdit"), height);
        Click(dlg, "cancelButton");
    });
    PropertyDialogs dialogs;
    EXPECT_FALSE(dialogs.EditPictureSize(nullptr, e, 203, 203));
    EXPECT_EQ(e.nWidth, 100);
}

// ---- shape ---------------------------------------------------------------------------------

TEST_F(ElementDialogsTest, RoundedRectangleProposesACornerOrShowsTheStoredOne) {
    PropertyDialogs dialogs;
    Element e = NewShape();
    OnNextModal([&](QWidget* dlg) {
        EXPECT_EQ(TextOf(dlg, "cornerEdit"), "0");
        TypeList(dlg)->setCurrentIndex(kShapeRoundedRectangle);
        EXPECT_EQ(TextOf(dlg, "cornerEdit"), "30");
        Click(dlg, "okButton");
    });
    ASSERT_TRUE(dialogs.EditShape(nullptr, e));
    EXPECT_EQ(e.nShapeType, kShapeRoundedRectangle);
    EXPECT_EQ(e.nCornerSize, 30);

    Element stored = NewShape();
    stored.nCornerSize = 12;
    OnNextModal([&](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(kShapeRoundedRectangle);
        EXPECT_EQ(TextOf(dlg, "cornerEdit"), "12");
        Click(dlg, "okButton");
    });
    ASSERT_TRUE(dialogs.EditShape(nullptr, stored));
    EXPECT_EQ(stored.nCornerSize, 12);
}

TEST_F(ElementDialogsTest, TriangleRecentresTheApexAndUnchangedListRewritesTheBoxes) {
    PropertyDialogs dialogs;
    Element e = NewShape();
    e.nShapeType = kShapeTriangle;
    e.nEndX = 17;
    OnNextModal([&](QWidget* dlg) {
        EXPECT_EQ(TypeList(dlg)->currentIndex(), kShapeTriangle);
        EXPECT_FALSE(TypeList(dlg)->isEditable());
        EXPECT_EQ(TextOf(dlg, "penWidthEdit"), "4");
        Type(dlg, "penWidthEdit", "9");
        Type(dlg, "cornerEdit", "5");
        Click(dlg, "okButton");
    });
    ASSERT_TRUE(dialogs.EditShape(nullptr, e));
    EXPECT_EQ(e.nShapeType, kShapeTriangle);
    EXPECT_EQ(e.nEndX, -1);
    EXPECT_EQ(e.nPenWidth, 9);
    EXPECT_EQ(e.nCornerSize, 5);

    Element ellipse = NewShape();
    const Element before = ellipse;
    OnNextModal([&](QWidget* dlg) {
        TypeList(dlg)->setCurrentIndex(kShapeEllipse);
        Click(dlg, "cancelButton");
    });
    EXPECT_FALSE(dialogs.EditShape(nullptr, ellipse));
    EXPECT_TRUE(SameBytes(ellipse, before));
}

TEST_F(ElementDialogsTest, DamagedShapeTypeIsNotReplacedByAnotherOutsideTheList) {
    Element e = NewShape();
    e.nShapeType = 9;
    OnNextModal([&](QWidget* dlg) {
        EXPECT_EQ(TypeList(dlg)->currentIndex(), -1);
        Click(dlg, "okButton");
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditShape(nullptr, e));
    EXPECT_EQ(e.nShapeType, 9);
}

// ---- text attributes -----------------------------------------------------------------------

TEST_F(ElementDialogsTest, FontDialogReplacesFaceAndStyleButKeepsTheHeight) {
    LOGFONTA font{};
    font.lfHeight = 20;
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "\xCB\xCE\xCC\xE5");  // 宋体
    OnNextModal([&](QWidget* dlg) {
        auto* fonts = qobject_cast<QDialog*>(dlg);
        ASSERT_NE(fonts, nullptr);
        QFont chosen(QStringLiteral("DejaVu Sans"));
        chosen.setBold(true);
        chosen.setUnderline(true);
        chosen.setPointSize(30);
        dlg->setProperty("currentFont", chosen);
        fonts->accept();
    });
    PropertyDialogs dialogs;
    ASSERT_TRUE(dialogs.EditFont(nullptr, font));
    EXPECT_STREQ(font.lfFaceName, "DejaVu Sans");
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfUnderline, 1);
    EXPECT_EQ(font.lfItalic, 0);
    EXPECT_EQ(font.lfHeight, 20);
}

}  // namespace
}  // namespace etiqo::test
