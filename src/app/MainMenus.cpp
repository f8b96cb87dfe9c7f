#include "app/MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "app/CommandIds.h"

namespace etiqo {
namespace {

constexpr MenuItemDef kSeparator{TextId::MenuFile, 0};

constexpr MenuItemDef kChineseFile[] = {
    {TextId::MenuNewLabel, cmd::kNewLabel},
    {TextId::MenuOpenLabel, cmd::kOpenLabel},
    {TextId::MenuSave, cmd::kSave},
    {TextId::MenuSaveAs, cmd::kSaveAs},
    kSeparator,
    {TextId::MenuPrint, cmd::kPrint},
    {TextId::CheckLabelCommand, cmd::kCheckLabel},
    kSeparator,
    {TextId::MenuRecentFiles, cmd::kRecentFiles},
    kSeparator,
    {TextId::MenuExit, cmd::kExit},
};
constexpr MenuItemDef kEnglishFile[] = {
    {TextId::MenuNewLabel, cmd::kNewLabel},
    {TextId::MenuOpenLabel, cmd::kOpenLabel},
    {TextId::MenuSave, cmd::kSaveEnglish},
    {TextId::MenuSaveAs, cmd::kSaveAs},
    kSeparator,
    {TextId::MenuPrint, cmd::kPrint},
    {TextId::MenuDirectSend, cmd::kDirectSend},
    {TextId::CheckLabelCommand, cmd::kCheckLabel},
    kSeparator,
    {TextId::MenuRecentFiles, cmd::kRecentFiles},
    kSeparator,
    {TextId::MenuExit, cmd::kExit},
};
constexpr MenuItemDef kEdit[] = {
    {TextId::MenuUndo, cmd::kUndo},   kSeparator,
    {TextId::MenuCut, cmd::kCut},     {TextId::MenuCopy, cmd::kCopy},
    {TextId::MenuPaste, cmd::kPaste},
};
constexpr MenuItemDef kInsert[] = {
    {TextId::MenuInsertText, cmd::kInsertText},       {TextId::MenuInsert2DCode, cmd::kInsert2DCode},
    {TextId::MenuInsertBarcode, cmd::kInsertBarcode}, {TextId::MenuInsertPicture, cmd::kInsertPicture},
    {TextId::MenuInsertLine, cmd::kInsertLine},       {TextId::MenuInsertShape, cmd::kInsertShape},
};
constexpr MenuItemDef kBatch[] = {{TextId::MenuSelectLabelFiles, cmd::kSelectLabelFiles}};
constexpr MenuItemDef kHelp[] = {{TextId::MenuAbout, cmd::kAbout}};

constexpr MenuDef kChineseMenu[] = {
    {TextId::MenuFile, kChineseFile}, {TextId::MenuEdit, kEdit}, {TextId::MenuInsert, kInsert},
    {TextId::MenuBatchPrint, kBatch}, {TextId::MenuHelp, kHelp},
};
constexpr MenuDef kEnglishMenu[] = {
    {TextId::MenuFile, kEnglishFile}, {TextId::MenuEdit, kEdit}, {TextId::MenuInsert, kInsert},
    {TextId::MenuBatchPrint, kBatch}, {TextId::MenuHelp, kHelp},
};

constexpr Accelerator kAccelerators[] = {
    {Qt::CTRL | Qt::Key_A, cmd::kSaveAs},
    {Qt::CTRL | Qt::Key_C, cmd::kCopy},
    {Qt::CTRL | Qt::Key_N, cmd::kNewLabel},
    {Qt::CTRL | Qt::Key_O, cmd::kFrameworkOpen},
    {Qt::CTRL | Qt::Key_P, cmd::kPrint},
    {Qt::CTRL | Qt::Key_S, cmd::kSave},
    {Qt::CTRL | Qt::Key_V, cmd::kPaste},
    {Qt::CTRL | Qt::Key_X, cmd::kCut},
    {Qt::CTRL | Qt::Key_Z, cmd::kUndo},
    {Qt::ALT | Qt::Key_Backspace, cmd::kUndo},
    {Qt::SHIFT | Qt::Key_Delete, cmd::kCut},
    {Qt::CTRL | Qt::Key_Insert, cmd::kCopy},
    {Qt::SHIFT | Qt::Key_Insert, cmd::kPaste},
    // Redo as other programs bind it (the palette's Redo had no key).
    {Qt::CTRL | Qt::Key_Y, cmd::kPaletteRedo},
    {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, cmd::kPaletteRedo},
};

QString Text(TextId id, bool bChinese) {
    return QString::fromUtf8(bChinese ? TrChinese(id) : TrEnglish(id));
}

}  // namespace

std::span<const MenuDef> MainMenuDefinition(bool bChinese) {
    return bChinese ? std::span<const MenuDef>(kChineseMenu) : std::span<const MenuDef>(kEnglishMenu);
}

std::map<int, QAction*> BuildMainMenus(QMenuBar& menuBar, bool bChinese,
                                       const std::function<void(int)>& onCommand) {
    std::map<int, QAction*> actions;
    for (const MenuDef& menuDef : MainMenuDefinition(bChinese)) {
        QMenu* menu = menuBar.addMenu(Text(menuDef.title, bChinese));
        for (const MenuItemDef& item : menuDef.items) {
            if (item.nCommand == 0) {
                menu->addSeparator();
                continue;
            }
            if (item.nCommand == cmd::kRecentFiles) {
                // Filled by the frame each time it opens.
                actions[item.nCommand] = menu->addMenu(Text(item.text, bChinese))->menuAction();
                continue;
            }
            // The text carries its key after a tab; the keys themselves live in the accelerator table,
            // so the action gets no shortcut of its own (two owners of one key would be ambiguous).
            QAction* action = menu->addAction(Text(item.text, bChinese));
            const int nCommand = item.nCommand;
            QObject::connect(action, &QAction::triggered, action,
                             [onCommand, nCommand] { onCommand(nCommand); });
            actions[nCommand] = action;
        }
    }
    return actions;
}

std::span<const Accelerator> AcceleratorTable() {
    return kAccelerators;
}

}  // namespace etiqo
