// Every dialog speaks the interface language: a Chinese title in Chinese, and no Chinese text in
// English apart from the shape dialog's two buttons, which keep their Chinese texts in both.
#include <gtest/gtest.h>
#include <QDialog>

#include <functional>
#include <memory>

#include "dialog_fixture.h"
#include "dialogs/BarcodeDlg.h"
#include "dialogs/BatchPrintDlg.h"
#include "dialogs/Code2DDlg.h"
#include "dialogs/NewLabelDlg.h"
#include "dialogs/PictureSizeDlg.h"
#include "dialogs/SerializeDlg.h"
#include "dialogs/ShapeDlg.h"
#include "dialogs/TextDlg.h"
#include "modal_driver.h"

namespace etiqo::test {
namespace {

bool HasChinese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; });
}

TEST_F(DialogTest, EveryDialogSpeaksTheInterfaceLanguage) {
    const struct {
        const char* name;
        std::function<std::unique_ptr<QDialog>(Element&)> make;
    } rows[] = {
        {"text", [](Element& e) { return std::make_unique<CTextDlg>(&e, "x"); }},
        {"barcode", [](Element& e) { return std::make_unique<CBarcodeDlg>(&e, CBarcodeDlg::Values{}); }},
        {"2D code", [](Element&) { return std::make_unique<C2DCodeDlg>(C2DCodeDlg::Values{}); }},
        {"picture size", [](Element& e) { return std::make_unique<CPictureSizeDlg>(&e, 203, 203); }},
        {"new label", [](Element&) { return std::make_unique<CNewLabelDlg>(); }},
        {"shape", [](Element& e) { return std::make_unique<CShapeDlg>(&e, 0); }},
        {"serialization", [](Element& e) { return std::make_unique<CSerializeDlg>(&e, 0); }},
        {"batch", [](Element&) { return std::make_unique<CBatchPrintDlg>(); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const bool chinese : {true, false}) {
            SetChineseInterface(chinese);
            Element e = NewShape();
            const std::unique_ptr<QDialog> dlg = row.make(e);
            EXPECT_EQ(HasChinese(dlg->windowTitle()), chinese);
            for (const QString& text : VisibleTexts(dlg.get())) {
                const bool shapeButton = text == QStringLiteral("确定") || text == QStringLiteral("取消");
                EXPECT_TRUE(chinese || !HasChinese(text) || (shapeButton && row.name == std::string("shape")))
                    << text.toStdString();
            }
        }
    }
}

}  // namespace
}  // namespace etiqo::test
