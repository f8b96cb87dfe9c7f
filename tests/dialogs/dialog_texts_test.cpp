// Every dialog shows its texts in the interface language, exactly as written.
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

struct DialogTexts {
    const char* name;
    std::function<std::unique_ptr<QDialog>(Element&)> make;
    std::vector<const char*> chinese;  // title first
    std::vector<const char*> english;
};

std::vector<DialogTexts> AllDialogs() {
    return {
        {"text",
         [](Element& e) { return std::make_unique<CTextDlg>(&e, "x"); },
         {"输入文字", "请输入标签文字", "序列化", "确认输入", "取消"},
         {"Text Properties", "Input Text", "Serialize", "Ok", "Cancel"}},
        {"barcode",
         [](Element& e) { return std::make_unique<CBarcodeDlg>(&e, CBarcodeDlg::Values{}); },
         {"条形码设置", "条形码类型：", "条形码内容：", "条形码宽度：", "条形码高度：", "显示文字",
          "序列化",     "确定",         "取消",         "mm",           "CODE_128",     "CODE_128B",
          "CODE_39",    "EXCODE_39",    "CODE_93",      "EAN_X",        "EAN_128",      "UPC_A",
          "UPC_E",      "ITF_14",       "CODE_32",      "CODEBAR",      "EAN-13",       "EAN-14"},
         {"Barcode Properties", "Barcode Type:", "Content:", "Width:", "Height:", "Show Text", "Serialize",
          "Ok", "Cancel", "mm", "CODE_128", "EAN-13", "EAN-14"}},
        {"2D code",
         [](Element&) { return std::make_unique<C2DCodeDlg>(C2DCodeDlg::Values{}); },
         {"二维码属性", "二维码类型：", "二维码内容：", "二维码尺寸：", "确认", "取消", "mm", "QRCode",
          "PDF417", "PDF417TRUNC", "DATA_MATRIX", "MAXI CODE", "GRID MATRIX", "MICROPDF417"},
         {"2D Properties", "2D Type:", "Content:", "Size:", "Ok", "Cancel", "mm", "QRCode", "MICROPDF417"}},
        {"picture size",
         [](Element& e) { return std::make_unique<CPictureSizeDlg>(&e, 203, 203); },
         {"修改图片尺寸", "修改图片尺寸", "图片宽度：", "图片高度：", "约束宽高比", "确认修改", "取消",
          "毫米", "像素"},
         {"Image Properties", "Image Size", "Width:", "Height:", "Fixed proportion", "Ok", "Cancel", "mm",
          "Pixel"}},
        {"new label",
         [](Element&) { return std::make_unique<CNewLabelDlg>(); },
         {"新建标签", "新标签", "标签宽度：", "标签高度：", "确认", "取消", "mm"},
         {"New Label", "New Label", "Width:", "Height:", "Ok", "Cancel", "mm"}},
        // The shape dialog's buttons keep their Chinese texts in English too.
        {"shape",
         [](Element& e) { return std::make_unique<CShapeDlg>(&e, 0); },
         {"形状设置", "形状类型：", "线宽：", "点", "角度尺寸：", "确定", "取消", "矩形", "圆角矩形",
          "椭圆形", "三角形", "菱形"},
         {"Shape Properties", "Type:", "Line Width:", "Dot", "Corner Size", "确定", "取消", "Rectangle",
          "Rounded rectangle", "Ellipse", "Triangle", "Diamond"}},
        {"serialization",
         [](Element& e) { return std::make_unique<CSerializeDlg>(&e, 0); },
         {"序列化设置", "不序列化", "递增", "递减", "递增值：", "重置", "达到指定值：", "值：", "重置为：",
          "确定", "取消"},
         {"Serialization", "Don't Serialize", "Increment", "Decrement", "Increment by:", "Reset",
          "Specified value is reached", "Value:", "Reset to", "Ok", "Cancel"}},
        {"batch",
         [](Element&) { return std::make_unique<CBatchPrintDlg>(); },
         {"选择打印文件", "打印文件列表", "添加文件", "打印", "取消"},
         {"Select File To Print", "File List:", "Add File", "Print", "Cancel"}},
    };
}

class DialogTextsTest : public DialogTest, public ::testing::WithParamInterface<bool> {};

TEST_P(DialogTextsTest, EveryDialogShowsItsTexts) {
    const bool chinese = GetParam();
    SetChineseInterface(chinese);
    for (const DialogTexts& dialog : AllDialogs()) {
        Element e = NewShape();
        const std::unique_ptr<QDialog> dlg = dialog.make(e);
        const QStringList shown = VisibleTexts(dlg.get());
        const std::vector<const char*>& expected = chinese ? dialog.chinese : dialog.english;
        EXPECT_EQ(dlg->windowTitle(), QString::fromUtf8(expected.front())) << dialog.name;
        for (const char* text : expected) {
            EXPECT_TRUE(shown.contains(QString::fromUtf8(text))) << dialog.name << ": " << text;
        }
        // Nothing of the other language leaks in, apart from texts both share (symbology names).
        const std::vector<const char*>& other = chinese ? dialog.english : dialog.chinese;
        for (const char* text : other) {
            const QString t = QString::fromUtf8(text);
            const bool shared = std::any_of(expected.begin(), expected.end(),
                                            [&](const char* e) { return QString::fromUtf8(e) == t; });
            const bool latin = std::all_of(t.begin(), t.end(), [](QChar c) { return c.unicode() < 0x80; });
            EXPECT_TRUE(shared || (latin && !chinese) || !shown.contains(t))
                << dialog.name << " shows " << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, DialogTextsTest, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Chinese" : "English"; });

}  // namespace
}  // namespace etiqo::test
