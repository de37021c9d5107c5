#pragma once
// The Host for people: mirrors every form of the control model into Qt widgets (one widget per
// control, at its pixel geometry), feeds what the user does back into the model, runs modal
// forms as nested event loops and serves message boxes and file dialogs with Qt's own.
// Needs a QApplication.
#include "platform/host.h"
#include "platform/ui/ui.h"

#include <QPoint>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QEventLoop;
class QLockFile;
class QMenu;
class QMenuBar;
class QTimer;
class QTranslator;
class QWidget;

namespace qthost {

class FormWindow;

class QtHost : public plat::Host {
public:
    QtHost();
    ~QtHost() override;

    int MsgBox(const std::string& prompt, int style, const std::string& title) override;
    plat::FileDialogResult FileDialog(const plat::FileDialogRequest& request) override;
    void RunModal(plat::Form& form) override;
    void Refresh(plat::Form& form) override;
    void SetMousePointer(int pointer) override;
    void Sleep(int milliseconds) override;
    bool OtherInstanceRunning() override;
    int DisplayBitsPerPixel() override;
    bool DisplayHasRasterCaps() override { return true; }
    void PopupMenu(plat::Form& form, plat::Menu& menu) override;
    void ControlChanged(plat::Control& control, plat::Change change) override;

    // The application ends when this form is unloaded.
    void SetMainForm(plat::Form* form) { main_form_ = form; }
    // The lock that tells a second copy apart; empty turns the check off.
    void SetInstanceKey(const std::string& key) { instance_key_ = key; }
    // Tells whether the program speaks French now: Qt's own texts (box buttons, file dialogs)
    // follow it, also after the setting changed while the program runs.
    void SetLanguageSource(std::function<bool()> french) { french_ = std::move(french); }

    // The window that shows a form, or nullptr before it was first shown. Its client area (the
    // form's ScaleWidth x ScaleHeight) is ClientWidget.
    QWidget* WindowOf(const plat::Form& form) const;
    QWidget* ClientWidget(const plat::Form& form) const;
    QWidget* WidgetOf(const plat::Control& control) const;
    QMenuBar* MenuBarOf(const plat::Form& form) const;
    QAction* ActionOf(const plat::Menu& menu) const;

private:
    struct Mirror {
        plat::Form* form = nullptr;
        FormWindow* window = nullptr;
        QWidget* client = nullptr;
        QMenuBar* bar = nullptr;
        std::map<const plat::Control*, QPointer<QWidget>> widgets;
        std::map<const plat::Control*, QPointer<QAction>> actions;
        std::vector<QPointer<QMenu>> menus;
        bool menus_pending = false;
    };
    struct ModalRun {
        plat::Form* form;
        QEventLoop* loop;
    };

    Mirror* MirrorOf(const plat::Form& form) const;
    Mirror& EnsureWindow(plat::Form& form);
    void SyncForm(Mirror& m);
    void SyncAll(Mirror& m);
    QWidget* EnsureWidget(Mirror& m, plat::Control& control);
    QWidget* ContainerWidget(Mirror& m, plat::Control& control);
    void SyncControl(Mirror& m, plat::Control& control, plat::Change change);
    void SyncPlacement(Mirror& m, plat::Control& control, QWidget& widget);
    void DropControl(plat::Control& control);
    void FormChanged(plat::Form& form, plat::Change change);
    void SyncTimer(plat::Control& control);
    void SyncTimers(plat::Form& form);
    void ScheduleMenus(Mirror& m);
    void BuildMenus(Mirror& m);
    // Entries of the menu bar are registered for in-place updates; a pop-up's are not.
    void FillMenu(Mirror& m, QMenu& qmenu, plat::Menu& menu, bool registered);
    void SyncAction(plat::Menu& menu, QAction& action);
    void EndModal(plat::Form& form);
    // Puts Qt's French translation in or takes it out, as the program's language is now.
    void FollowLanguage();
    // Where a form's Left and Top put its window on the screen.
    QPoint ScreenPosition(const plat::Form& form) const;

    std::map<const plat::Form*, std::unique_ptr<Mirror>> mirrors_;
    std::map<const plat::Control*, QTimer*> timers_;
    std::vector<ModalRun> modal_;
    plat::Form* main_form_ = nullptr;
    std::string instance_key_ = "Tessaline";
    std::unique_ptr<QLockFile> instance_lock_;
    int override_cursors_ = 0;
    std::function<bool()> french_;
    std::unique_ptr<QTranslator> translator_;
    std::unique_ptr<QTranslator> icon_words_;
    bool translator_loaded_ = false;
    bool french_on_ = false;
};

}  // namespace qthost
