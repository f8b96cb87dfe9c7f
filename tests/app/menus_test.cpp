// Both main menus item by item, and the accelerator table.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <map>
#include <vector>

#include "app/CommandIds.h"
#include "app/MainMenus.h"

namespace etiqo {
namespace {

struct Item {
    const char* text;  // "-" for a separator
    int nCommand;
};
struct Menu {
    const char* title;
    std::vector<Item> items;
};

const std::vector<Menu> kChinese = {
    {"文件(&F)",
     {{"新建标签(&N)\tCtrl+N", 32795},
      {"打开标签(&O)...\tCtrl+O", 32772},
      {"保存(&S)\tCtrl+S", 32797},
      {"另存为\tCtrl+A", 32788},
      {"-", 0},
      {"打印(&P)...\tCtrl+P", 32789},
      {"检查标签", 32900},
      {"-", 0},
      {"最近的文件(&R)", 33120},
      {"-", 0},
      {"退出(&X)", 57665}}},
    {"编辑(&E)",
     {{"撤消(&U)\tCtrl+Z", 57643},
      {"-", 0},
      {"剪切(&T)\tCtrl+X", 57635},
      {"复制(&C)\tCtrl+C", 57634},
      {"粘贴(&P)\tCtrl+V", 57637}}},
    {"插入(&I)",
     {{"文本(&T)", 33101},
      {"二维码(&Q)", 33102},
      {"一维条码(&B)", 33103},
      {"图像(&P)...", 33104},
      {"直线(&L)", 33105},
      {"矩形(&R)", 33106}}},
    {"批量打印(&V)", {{"选择标签文件(&T)", 32785}}},
    {"帮助(&H)", {{"关于 Etiqo(&A)...", 57664}}},
};

const std::vector<Menu> kEnglish = {
    {"File(&F)",
     {{"New Label(&N)\tCtrl+N", 32795},
      {"Open Label(&O)...\tCtrl+O", 32772},
      {"Save(&S)\tCtrl+S", 32773},
      {"Save As(&A)...", 32788},
      {"-", 0},
      {"Print(&P)...\tCtrl+P", 32789},
      {"Direct Send Data to Printer", 32794},
      {"Check Label", 32900},
      {"-", 0},
      {"Recent Files(&R)", 33120},
      {"-", 0},
      {"Exit(&X)", 57665}}},
    {"Edit",
     {{"Undo(&U)\tCtrl+Z", 57643},
      {"-", 0},
      {"Cut(&T)\tCtrl+X", 57635},
      {"Copy(&C)\tCtrl+C", 57634},
      {"Paste(&P)\tCtrl+V", 57637}}},
    {"Insert(&I)",
     {{"Text(&T)", 33101},
      {"QR Code(&Q)", 33102},
      {"BarCode(&B)", 33103},
      {"Picture(&P)...", 33104},
      {"Line(&L)", 33105},
      {"Rectangle(&R)", 33106}}},
    {"batch print(&V)", {{"Select Label Files", 32785}}},
    {"Help(&H)", {{"About Etiqo(&A)...", 57664}}},
};

void ExpectMenuBar(QMenuBar& bar, const std::map<int, QAction*>& actions, const std::vector<Menu>& expected) {
    const QList<QAction*> titles = bar.actions();
    ASSERT_EQ(titles.size(), static_cast<qsizetype>(expected.size()));
    for (std::size_t m = 0; m < expected.size(); ++m) {
        SCOPED_TRACE(expected[m].title);
        EXPECT_EQ(titles[m]->text(), QString::fromUtf8(expected[m].title));
        const QList<QAction*> items = titles[m]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(expected[m].items.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            const Item& want = expected[m].items[static_cast<std::size_t>(i)];
            if (want.nCommand == 0) {
                EXPECT_TRUE(items[i]->isSeparator()) << i;
                continue;
            }
            EXPECT_EQ(items[i]->text(), QString::fromUtf8(want.text));
            ASSERT_TRUE(actions.contains(want.nCommand)) << want.nCommand;
            EXPECT_EQ(actions.at(want.nCommand), items[i]);
            // The keys belong to the accelerator table alone.
            EXPECT_TRUE(items[i]->shortcut().isEmpty());
        }
    }
}

TEST(MainMenus, ChineseMenuItemByItem) {
    QMenuBar bar;
    const auto actions = BuildMainMenus(bar, true, [](int) {});
    ExpectMenuBar(bar, actions, kChinese);
}

TEST(MainMenus, EnglishMenuItemByItem) {
    QMenuBar bar;
    const auto actions = BuildMainMenus(bar, false, [](int) {});
    ExpectMenuBar(bar, actions, kEnglish);
}

TEST(MainMenus, ItemsSendTheirCommandNumber) {
    QMenuBar bar;
    std::vector<int> sent;
    const auto actions = BuildMainMenus(bar, false, [&](int nCommand) { sent.push_back(nCommand); });
    actions.at(32788)->trigger();
    actions.at(57664)->trigger();
    EXPECT_EQ(sent, (std::vector<int>{32788, 57664}));
}

TEST(MainMenus, AcceleratorTable) {
    const std::vector<std::pair<QKeyCombination, int>> bindings = {
        {Qt::CTRL | Qt::Key_A, 32788},           {Qt::CTRL | Qt::Key_C, 57634},
        {Qt::CTRL | Qt::Key_N, 32795},           {Qt::CTRL | Qt::Key_O, 57601},
        {Qt::CTRL | Qt::Key_P, 32789},           {Qt::CTRL | Qt::Key_S, 32797},
        {Qt::CTRL | Qt::Key_V, 57637},           {Qt::CTRL | Qt::Key_X, 57635},
        {Qt::CTRL | Qt::Key_Z, 57643},           {Qt::ALT | Qt::Key_Backspace, 57643},
        {Qt::SHIFT | Qt::Key_Delete, 57635},     {Qt::CTRL | Qt::Key_Insert, 57634},
        {Qt::SHIFT | Qt::Key_Insert, 57637},     {Qt::CTRL | Qt::Key_Y, 108},
        {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, 108},
    };
    std::map<int, int> expected;
    for (const auto& [key, nCommand] : bindings) {
        expected[key.toCombined()] = nCommand;
    }
    std::map<int, int> table;
    for (const Accelerator& a : AcceleratorTable()) {
        EXPECT_TRUE(table.emplace(a.key.toCombined(), a.nCommand).second) << "key bound twice";
    }
    EXPECT_EQ(table, expected);
}

}  // namespace
}  // namespace etiqo
