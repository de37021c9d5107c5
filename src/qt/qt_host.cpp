// The Qt host: forms mirrored into widgets, modal loops, message boxes and file dialogs.
#include "qt/qt_host.h"
#include "qt/focus_moves.h"

#include "qt/control_widgets.h"
#include "qt/qt_convert.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeySequence>
#include <QLibraryInfo>
#include <QLocale>
#include <QLockFile>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QTimer>
#include <QTranslator>
#include <QVBoxLayout>

#include <string_view>

namespace qthost {

// A form's top-level window: its menu bar above the client area. Closing it asks the form.
class FormWindow : public QWidget {
public:
    explicit FormWindow(plat::Form& form) : form_(form) {}
    bool shown_once = false;

protected:
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        // The model decides; an unloaded or hidden form hides this window through its notices.
        if (form_.Loaded()) form_.UserClose();
        else hide();
    }

private:
    plat::Form& form_;
};

namespace {
bool IsWidgetless(plat::Kind kind) {
    return kind == plat::Kind::Menu || kind == plat::Kind::Timer || kind == plat::Kind::CommonDialog;
}

QMessageBox::Icon IconOf(int style) {
    switch (style & 0x70) {
        case plat::MB_ICONSTOP: return QMessageBox::Critical;
        case plat::MB_ICONQUESTION: return QMessageBox::Question;
        case plat::MB_ICONEXCLAMATION: return QMessageBox::Warning;
        case plat::MB_ICONINFORMATION: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// Debian's French Qt translation lacks the words of the file icon provider, which the file
// dialog's type column shows for folders and drives.
class IconProviderFrench : public QTranslator {
public:
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char*, int) const override {
        if (std::string_view(context) != "QAbstractFileIconProvider") return {};
        if (std::string_view(source) == "Folder") return QStringLiteral("Dossier");
        if (std::string_view(source) == "Drive") return QStringLiteral("Lecteur");
        return {};
    }
};

QWidget* DialogParent() {
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}
}  // namespace

QtHost::QtHost() {
    // A maximised form gets the screen's work area less the window frame and the menu bar.
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        QMenuBar probe;
        probe.addMenu("Files");
        const int bar = probe.sizeHint().height();
        const bool framed = QGuiApplication::platformName() != "offscreen" && QGuiApplication::platformName() != "minimal";
        plat::Form::SetMaximizedSize(area.width() - (framed ? 8 : 0), area.height() - bar - (framed ? 36 : 0));
    }
}

QtHost::~QtHost() {
    if (&plat::CurrentHost() == this) plat::SetHost(nullptr);
    for (auto& [c, t] : timers_) delete t;
    timers_.clear();
    for (auto& [f, m] : mirrors_) delete m->window;
    mirrors_.clear();
    while (override_cursors_-- > 0) QApplication::restoreOverrideCursor();
    if (french_on_) {
        QCoreApplication::removeTranslator(icon_words_.get());
        QCoreApplication::removeTranslator(translator_.get());
    }
}

void QtHost::FollowLanguage() {
    const bool french = french_ && french_();
    if (french == french_on_) return;
    if (!translator_) {
        translator_ = std::make_unique<QTranslator>();
        translator_loaded_ = translator_->load("qtbase_fr", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    }
    // Without the translation files installed, Qt's parts stay in English.
    if (!translator_loaded_) return;
    if (!icon_words_) icon_words_ = std::make_unique<IconProviderFrench>();
    if (french) {
        QCoreApplication::installTranslator(translator_.get());
        QCoreApplication::installTranslator(icon_words_.get());
    } else {
        QCoreApplication::removeTranslator(icon_words_.get());
        QCoreApplication::removeTranslator(translator_.get());
    }
    // The file dialog names file types in the default locale's language.
    QLocale::setDefault(french ? QLocale(QLocale::French, QLocale::France) : QLocale(QLocale::English, QLocale::UnitedStates));
    french_on_ = french;
}

QPoint QtHost::ScreenPosition(const plat::Form& form) const {
    const QPoint at(form.Left(), form.Top());
    // The designs place their small windows from the main window's controls (under a button,
    // beside the mouse), in the pixels of its client area.
    if (!main_form_ || &form == main_form_) return at;
    Mirror* main = MirrorOf(*main_form_);
    if (!main || !main->window->isVisible()) return at;
    return main->client->mapToGlobal(at);
}

// ---- boxes

int QtHost::MsgBox(const std::string& prompt, int style, const std::string& title) {
    FollowLanguage();
    Note_Modal_Run();
    QMessageBox box(IconOf(style), ToQ(title), ToQ(prompt), QMessageBox::NoButton, DialogParent());
    using B = QMessageBox::StandardButton;
    std::vector<B> buttons;
    switch (style & 7) {
        case plat::MB_OKCANCEL: buttons = {QMessageBox::Ok, QMessageBox::Cancel}; break;
        case plat::MB_ABORTRETRYIGNORE: buttons = {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore}; break;
        case plat::MB_YESNOCANCEL: buttons = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel}; break;
        case plat::MB_YESNO: buttons = {QMessageBox::Yes, QMessageBox::No}; break;
        case plat::MB_RETRYCANCEL: buttons = {QMessageBox::Retry, QMessageBox::Cancel}; break;
        default: buttons = {QMessageBox::Ok}; break;
    }
    for (B b : buttons) box.addButton(b);
    const std::size_t def = static_cast<std::size_t>((style >> 8) & 3);   // MB_DEFBUTTON2/3
    box.setDefaultButton(buttons[def < buttons.size() ? def : 0]);
    if (buttons.size() == 1) box.setEscapeButton(buttons[0]);
    const bool cursor = override_cursors_ > 0;
    if (cursor) QApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    if (cursor) QApplication::restoreOverrideCursor();
    switch (box.standardButton(box.clickedButton())) {
        case QMessageBox::Ok: return plat::ID_OK;
        case QMessageBox::Yes: return plat::ID_YES;
        case QMessageBox::No: return plat::ID_NO;
        case QMessageBox::Abort: return plat::ID_ABORT;
        case QMessageBox::Retry: return plat::ID_RETRY;
        case QMessageBox::Ignore: return plat::ID_IGNORE;
        default: return (style & 7) == plat::MB_OK ? plat::ID_OK : plat::ID_CANCEL;
    }
}

plat::FileDialogResult QtHost::FileDialog(const plat::FileDialogRequest& request) {
    FollowLanguage();
    Note_Modal_Run();
    QString dir = ToLocalPath(request.initial_dir);
    QString name;
    if (!request.file_name.empty()) {
        const QFileInfo info(ToLocalPath(request.file_name));
        name = info.fileName();
        if (dir.isEmpty() && info.isAbsolute()) dir = info.absolutePath();
    }
    if (dir.isEmpty() || !QFileInfo(dir).isDir()) dir = QDir::currentPath();
    QFileDialog dialog(DialogParent(), ToQ(request.title), dir);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // As the common dialog without its overwrite flag: the program asks with its own box.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = ToQtFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const int i = request.filter_index >= 1 && request.filter_index <= filters.size() ? request.filter_index - 1 : 0;
        dialog.selectNameFilter(filters[i]);
    }
    if (!name.isEmpty()) dialog.selectFile(name);
    plat::FileDialogResult result;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    result.cancelled = false;
    result.file_name = ToProgramPath(dialog.selectedFiles().front());
    return result;
}

// ---- modality and the rest of the Host

void QtHost::RunModal(plat::Form& form) {
    if (!form.Loaded() || !form.Visible()) return;
    Note_Modal_Run();
    Mirror& m = EnsureWindow(form);
    QPointer<FormWindow> window = m.window;
    window->hide();
    window->setWindowModality(Qt::ApplicationModal);
    window->show();
    window->raise();
    window->activateWindow();
    QEventLoop loop;
    modal_.push_back({&form, &loop});
    // The form may have closed itself while it was being shown.
    if (form.Loaded() && form.Visible()) loop.exec();
    std::erase_if(modal_, [&loop](const ModalRun& r) { return r.loop == &loop; });
    if (window) window->setWindowModality(Qt::NonModal);
}

void QtHost::EndModal(plat::Form& form) {
    for (ModalRun& r : modal_)
        if (r.form == &form) r.loop->quit();
}

void QtHost::Refresh(plat::Form& form) {
    if (Mirror* m = MirrorOf(form); m && m->window->isVisible()) m->window->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtHost::SetMousePointer(int pointer) {
    if (pointer == plat::Pointer_Default) {
        while (override_cursors_ > 0) {
            QApplication::restoreOverrideCursor();
            --override_cursors_;
        }
        return;
    }
    const Qt::CursorShape shape = pointer == plat::Pointer_Hourglass ? Qt::WaitCursor
                                  : pointer == plat::Pointer_Cross   ? Qt::CrossCursor
                                                                     : Qt::ArrowCursor;
    if (override_cursors_ > 0) {
        QApplication::changeOverrideCursor(shape);
    } else {
        QApplication::setOverrideCursor(shape);
        ++override_cursors_;
    }
}

void QtHost::Sleep(int milliseconds) {
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

bool QtHost::OtherInstanceRunning() {
    if (instance_key_.empty()) return false;
    if (instance_lock_) return false;   // we hold it already
    const QString user = qEnvironmentVariable("USER", "user");
    auto lock = std::make_unique<QLockFile>(QDir::tempPath() + "/" + ToQ(instance_key_) + "-" + user + ".lock");
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return true;
    instance_lock_ = std::move(lock);
    return false;
}

int QtHost::DisplayBitsPerPixel() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

void QtHost::PopupMenu(plat::Form& form, plat::Menu& menu) {
    Mirror& m = EnsureWindow(form);
    QMenu popup(m.window);
    FillMenu(m, popup, menu, false);
    popup.exec(QCursor::pos());
}

// ---- lookups

QtHost::Mirror* QtHost::MirrorOf(const plat::Form& form) const {
    auto it = mirrors_.find(&form);
    return it == mirrors_.end() ? nullptr : it->second.get();
}

QWidget* QtHost::WindowOf(const plat::Form& form) const {
    Mirror* m = MirrorOf(form);
    return m ? m->window : nullptr;
}

QWidget* QtHost::ClientWidget(const plat::Form& form) const {
    Mirror* m = MirrorOf(form);
    return m ? m->client : nullptr;
}

QWidget* QtHost::WidgetOf(const plat::Control& control) const {
    Mirror* m = MirrorOf(control.Parent());
    if (!m) return nullptr;
    auto it = m->widgets.find(&control);
    return it == m->widgets.end() ? nullptr : it->second.data();
}

QMenuBar* QtHost::MenuBarOf(const plat::Form& form) const {
    Mirror* m = MirrorOf(form);
    return m ? m->bar : nullptr;
}

QAction* QtHost::ActionOf(const plat::Menu& menu) const {
    Mirror* m = MirrorOf(menu.Parent());
    if (!m) return nullptr;
    auto it = m->actions.find(&menu);
    return it == m->actions.end() ? nullptr : it->second.data();
}

// ---- notifications

void QtHost::ControlChanged(plat::Control& control, plat::Change change) {
    using plat::Change;
    if (control.GetKind() == plat::Kind::Form) {
        FormChanged(static_cast<plat::Form&>(control), change);
        return;
    }
    // A control announces itself from its base constructor: nothing of it may be read yet.
    if (change == Change::Created) {
        if (control.GetKind() == plat::Kind::Menu)
            if (Mirror* m = MirrorOf(control.Parent())) ScheduleMenus(*m);
        return;
    }
    if (change == Change::Destroyed) {
        DropControl(control);
        return;
    }
    const plat::Kind kind = control.GetKind();
    if (kind == plat::Kind::Timer) {
        SyncTimer(control);
        return;
    }
    Mirror* m = MirrorOf(control.Parent());
    if (!m) return;
    if (kind == plat::Kind::Menu) {
        auto it = m->actions.find(&control);
        if (change == Change::Container || it == m->actions.end() || !it->second) ScheduleMenus(*m);
        else SyncAction(static_cast<plat::Menu&>(control), *it->second);
        return;
    }
    if (kind == plat::Kind::CommonDialog) return;
    SyncControl(*m, control, change);
}

void QtHost::FormChanged(plat::Form& form, plat::Change change) {
    using plat::Change;
    switch (change) {
        case Change::Created:
            return;
        case Change::Destroyed: {
            EndModal(form);
            if (main_form_ == &form) main_form_ = nullptr;
            auto it = mirrors_.find(&form);
            if (it != mirrors_.end()) {
                delete it->second->window;
                mirrors_.erase(it);
            }
            return;
        }
        case Change::Loaded:
            if (Mirror* m = MirrorOf(form)) SyncAll(*m);
            SyncTimers(form);
            return;
        case Change::Unloaded:
            if (Mirror* m = MirrorOf(form)) m->window->hide();
            SyncTimers(form);
            EndModal(form);
            if (&form == main_form_) QCoreApplication::exit(0);
            return;
        case Change::Visible: {
            if (!form.Visible()) {
                if (Mirror* m = MirrorOf(form)) m->window->hide();
                EndModal(form);
                return;
            }
            FollowLanguage();
            Mirror& m = EnsureWindow(form);
            SyncAll(m);
            if (!m.window->shown_once && form.Left() == 0 && form.Top() == 0 && form.WindowState() == plat::Window_Normal) {
                if (QScreen* s = QGuiApplication::primaryScreen()) {
                    m.window->adjustSize();
                    m.window->move(s->availableGeometry().center() - m.window->rect().center());
                }
            }
            m.window->shown_once = true;
            if (form.WindowState() == plat::Window_Maximized) {
                // A screen smaller than the form's client (offscreen, or a size set by hand)
                // would cut it: the window then takes the client's size instead.
                const QSize need = m.window->sizeHint().expandedTo(m.window->minimumSizeHint());
                QScreen* s = m.window->screen();
                if (s && (s->availableSize().width() < need.width() || s->availableSize().height() < need.height())) {
                    m.window->resize(need);
                    m.window->show();
                } else {
                    m.window->showMaximized();
                }
            }
            else if (form.WindowState() == plat::Window_Minimized) m.window->showMinimized();
            else m.window->show();
            return;
        }
        default:
            if (Mirror* m = MirrorOf(form)) SyncForm(*m);
            return;
    }
}

// ---- windows and widgets

QtHost::Mirror& QtHost::EnsureWindow(plat::Form& form) {
    if (Mirror* m = MirrorOf(form)) return *m;
    auto mirror = std::make_unique<Mirror>();
    Mirror& m = *mirror;
    m.form = &form;
    m.window = new FormWindow(form);
    m.window->setAttribute(Qt::WA_DeleteOnClose, false);
    auto* layout = new QVBoxLayout(m.window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m.bar = new QMenuBar(m.window);
    m.bar->setNativeMenuBar(false);
    layout->setMenuBar(m.bar);
    m.client = new QWidget(m.window);
    m.client->setAutoFillBackground(true);
    m.client->setMouseTracking(true);
    layout->addWidget(m.client, 0, Qt::AlignLeft | Qt::AlignTop);
    layout->addStretch(1);
    new EventFeeder(form, MouseFeed::Own, m.client);
    new EventFeeder(form, MouseFeed::None, m.window);
    mirrors_[&form] = std::move(mirror);
    SyncAll(m);
    return m;
}

void QtHost::SyncForm(Mirror& m) {
    plat::Form& form = *m.form;
    m.window->setWindowTitle(ToQ(form.Caption()));
    m.client->setFixedSize(std::max(1, form.ScaleWidth()), std::max(1, form.ScaleHeight()));
    QPalette pal = m.client->palette();
    pal.setColor(QPalette::Window, ToQColor(form.BackColor()));
    pal.setColor(QPalette::WindowText, ToQColor(form.ForeColor()));
    m.client->setPalette(pal);
    m.client->setFont(ToQFont(form.GetFont()));
    m.window->setEnabled(form.Enabled());
    if (form.Left() != 0 || form.Top() != 0) m.window->move(ScreenPosition(form));
    if (form.BorderStyle != 2 && form.WindowState() == plat::Window_Normal) {
        m.window->adjustSize();
        m.window->setFixedSize(m.window->sizeHint());
    }
    if (form.WindowState() == plat::Window_Normal && !m.window->isMaximized()) m.window->adjustSize();
}

void QtHost::SyncAll(Mirror& m) {
    SyncForm(m);
    for (plat::Control* c : m.form->Controls()) {
        if (IsWidgetless(c->GetKind())) continue;
        SyncControl(m, *c, plat::Change::Loaded);
    }
    BuildMenus(m);
}

QWidget* QtHost::ContainerWidget(Mirror& m, plat::Control& control) {
    plat::Control* container = control.Container();
    if (!container || IsWidgetless(container->GetKind())) return m.client;
    QWidget* w = EnsureWidget(m, *container);
    return w ? w : m.client;
}

QWidget* QtHost::EnsureWidget(Mirror& m, plat::Control& control) {
    auto it = m.widgets.find(&control);
    if (it != m.widgets.end() && it->second) return it->second;
    QWidget* parent = ContainerWidget(m, control);
    QWidget* w = nullptr;
    MouseFeed feed = MouseFeed::Beside;
    QWidget* part = nullptr;   // the inner widget that receives the mouse, if not w itself
    switch (control.GetKind()) {
        case plat::Kind::CommandButton: w = new ButtonWidget(static_cast<plat::CommandButton&>(control), parent); break;
        case plat::Kind::Label: w = new LabelWidget(static_cast<plat::Label&>(control), parent); feed = MouseFeed::Own; break;
        case plat::Kind::TextBox: {
            auto& t = static_cast<plat::TextBox&>(control);
            feed = MouseFeed::BesideClick;
            if (t.MultiLine()) {
                auto* edit = new TextEditWidget(t, parent);
                part = edit->viewport();
                w = edit;
            } else {
                w = new LineEditWidget(t, parent);
            }
            break;
        }
        case plat::Kind::CheckBox: w = new CheckWidget(static_cast<plat::CheckBox&>(control), parent); break;
        case plat::Kind::OptionButton: w = new OptionWidget(static_cast<plat::OptionButton&>(control), parent); break;
        case plat::Kind::Frame: w = new FrameWidget(static_cast<plat::Frame&>(control), parent); feed = MouseFeed::Own; break;
        case plat::Kind::ComboBox:
        case plat::Kind::DriveListBox: w = new ComboWidget(static_cast<plat::ListControl&>(control), parent); break;
        case plat::Kind::ListBox:
        case plat::Kind::DirListBox:
        case plat::Kind::FileListBox: {
            auto* list = new ListWidget(static_cast<plat::ListControl&>(control), parent);
            part = list->viewport();
            w = list;
            break;
        }
        case plat::Kind::PictureBox: w = new PictureWidget(static_cast<plat::PictureBox&>(control), parent); feed = MouseFeed::Own; break;
        case plat::Kind::Line:
        case plat::Kind::Shape: w = new OverlayWidget(control, parent); break;
        // Scroll bars and tab strips raise no mouse events of their own.
        case plat::Kind::HScrollBar:
        case plat::Kind::VScrollBar: w = new ScrollWidget(static_cast<plat::ScrollBar&>(control), parent); feed = MouseFeed::None; break;
        case plat::Kind::TabStrip: w = new TabWidget(static_cast<plat::TabStrip&>(control), parent); feed = MouseFeed::None; break;
        default: return nullptr;
    }
    w->setObjectName(ToQ(control.FullName()));
    w->setProperty("tess_control", QVariant::fromValue(reinterpret_cast<quintptr>(&control)));
    if (control.GetKind() != plat::Kind::Line && control.GetKind() != plat::Kind::Shape) {
        auto* feeder = new EventFeeder(control, feed, w);
        if (part) feeder->Watch(part);
        if (auto* combo = dynamic_cast<ComboWidget*>(w)) combo->SetFeeder(feeder);
    }
    if (!control.Focusable() && control.GetKind() != plat::Kind::PictureBox) w->setFocusPolicy(Qt::NoFocus);
    m.widgets[&control] = w;
    return w;
}

void QtHost::SyncPlacement(Mirror& m, plat::Control& control, QWidget& widget) {
    QWidget* parent = ContainerWidget(m, control);
    if (widget.parentWidget() != parent) widget.setParent(parent);
    // Lines and shapes place themselves (OverlayWidget::Sync), within reach of the container.
    if (control.GetKind() != plat::Kind::Line && control.GetKind() != plat::Kind::Shape)
        widget.setGeometry(control.Left(), control.Top(), control.Width(), control.Height());
    bool visible = control.Visible();
    if (plat::Control* c = control.Container(); c && c->GetKind() == plat::Kind::TabStrip)
        visible = visible && c->CurrentPage() == control.ContainerPage();
    widget.setVisible(visible);
}

void QtHost::SyncControl(Mirror& m, plat::Control& control, plat::Change change) {
    using plat::Change;
    QWidget* w = EnsureWidget(m, control);
    if (!w) return;
    // A text box that changed between one and several lines changes its widget.
    if (control.GetKind() == plat::Kind::TextBox) {
        const bool multi = static_cast<plat::TextBox&>(control).MultiLine();
        if (multi != (dynamic_cast<TextEditWidget*>(w) != nullptr)) {
            DropControl(control);
            w = EnsureWidget(m, control);
            change = Change::Loaded;
        }
    }
    switch (change) {
        case Change::Pixels:
            w->update();
            return;
        case Change::Refresh:
            if (w->isVisible()) w->repaint();
            return;
        case Change::Focus:
            if (!w->hasFocus() && w->isVisible()) w->setFocus(Qt::OtherFocusReason);
            return;
        default:
            break;
    }
    SyncScope scope;
    SyncPlacement(m, control, *w);
    const bool items = change == Change::List || change == Change::Loaded;
    if (auto* b = dynamic_cast<ButtonWidget*>(w)) b->Sync();
    else if (auto* l = dynamic_cast<LabelWidget*>(w)) l->Sync();
    else if (auto* e = dynamic_cast<LineEditWidget*>(w)) e->Sync();
    else if (auto* t = dynamic_cast<TextEditWidget*>(w)) t->Sync();
    else if (auto* c = dynamic_cast<CheckWidget*>(w)) c->Sync();
    else if (auto* o = dynamic_cast<OptionWidget*>(w)) o->Sync();
    else if (auto* f = dynamic_cast<FrameWidget*>(w)) f->Sync();
    else if (auto* cb = dynamic_cast<ComboWidget*>(w)) cb->Sync(items);
    else if (auto* lb = dynamic_cast<ListWidget*>(w)) lb->Sync(items);
    else if (auto* s = dynamic_cast<ScrollWidget*>(w)) s->Sync();
    else if (auto* ov = dynamic_cast<OverlayWidget*>(w)) ov->Sync();
    else if (auto* tab = dynamic_cast<TabWidget*>(w)) tab->Sync();
    else if (dynamic_cast<PictureWidget*>(w)) {
        SyncCommon(control, *w);
        w->update();
    }
    // The pages of a tab strip show only the controls of the current tab.
    if (change == Change::Tab || change == Change::Visible) {
        for (plat::Control* child : m.form->Controls()) {
            if (child->Container() != &control || IsWidgetless(child->GetKind())) continue;
            if (QWidget* cw = EnsureWidget(m, *child)) SyncPlacement(m, *child, *cw);
        }
    }
}

void QtHost::DropControl(plat::Control& control) {
    if (auto t = timers_.find(&control); t != timers_.end()) {
        delete t->second;
        timers_.erase(t);
    }
    Mirror* m = MirrorOf(control.Parent());
    if (!m) return;
    if (control.GetKind() == plat::Kind::Menu) {
        m->actions.erase(&control);
        ScheduleMenus(*m);
        return;
    }
    auto it = m->widgets.find(&control);
    if (it == m->widgets.end()) return;
    QPointer<QWidget> w = it->second;
    m->widgets.erase(it);
    if (!w) return;
    // Controls standing in it keep their widgets.
    for (auto& [c, child] : m->widgets)
        if (child && child->parentWidget() == w) {
            child->setParent(m->client);
            child->hide();
        }
    // It may be inside its own event handler: silence it now, delete it later.
    w->setProperty(kDroppedProperty, true);
    w->hide();
    w->blockSignals(true);
    for (QObject* o : w->findChildren<QObject*>()) o->blockSignals(true);
    const QObjectList children = w->children();
    for (QObject* o : children)
        if (auto* f = dynamic_cast<EventFeeder*>(o)) delete f;
    w->deleteLater();
}

// ---- timers

void QtHost::SyncTimer(plat::Control& control) {
    auto& timer = static_cast<plat::Timer&>(control);
    QTimer*& q = timers_[&control];
    if (!q) {
        q = new QTimer;
        QObject::connect(q, &QTimer::timeout, q, [&timer, q] {
            // A tick that is still running (a box inside it) is not entered again.
            if (q->property("ticking").toBool()) return;
            q->setProperty("ticking", true);
            timer.UserTick();
            q->setProperty("ticking", false);
        });
    }
    if (timer.Running()) {
        if (!q->isActive() || q->interval() != timer.Interval()) q->start(timer.Interval());
    } else {
        q->stop();
    }
}

void QtHost::SyncTimers(plat::Form& form) {
    for (plat::Control* c : form.Controls())
        if (c->GetKind() == plat::Kind::Timer) SyncTimer(*c);
}

// ---- menus

void QtHost::ScheduleMenus(Mirror& m) {
    if (m.menus_pending) return;
    m.menus_pending = true;
    plat::Form* form = m.form;
    // Menus change while one may be open (an entry's own handler): rebuild after it returns.
    QTimer::singleShot(0, m.window, [this, form] {
        if (Mirror* mm = MirrorOf(*form)) BuildMenus(*mm);
    });
}

void QtHost::BuildMenus(Mirror& m) {
    m.menus_pending = false;
    m.bar->clear();
    for (QPointer<QMenu>& old : m.menus)
        if (old) old->deleteLater();
    m.menus.clear();
    m.actions.clear();
    bool any = false;
    for (plat::Menu* top : m.form->MenuBar()) {
        auto* qmenu = new QMenu(m.window);
        m.menus.push_back(qmenu);
        FillMenu(m, *qmenu, *top, true);
        QAction* a = m.bar->addMenu(qmenu);
        m.actions[top] = a;
        SyncAction(*top, *a);
        any = any || top->Visible();
    }
    m.bar->setVisible(any);
}

void QtHost::FillMenu(Mirror& m, QMenu& qmenu, plat::Menu& menu, bool registered) {
    for (plat::Control* c : m.form->Controls()) {
        if (c->GetKind() != plat::Kind::Menu || c->Container() != &menu) continue;
        auto& entry = static_cast<plat::Menu&>(*c);
        bool has_entries = false;
        for (plat::Control* d : m.form->Controls())
            if (d->GetKind() == plat::Kind::Menu && d->Container() == &entry) has_entries = true;
        QAction* a = nullptr;
        if (has_entries) {
            auto* sub = new QMenu(&qmenu);
            FillMenu(m, *sub, entry, registered);
            a = qmenu.addMenu(sub);
        } else if (entry.IsSeparator()) {
            a = qmenu.addSeparator();
        } else {
            a = qmenu.addAction(QString());
            plat::Menu* target = &entry;
            QObject::connect(a, &QAction::triggered, a, [target] { target->UserClick(); });
        }
        if (registered) m.actions[&entry] = a;
        SyncAction(entry, *a);
    }
}

void QtHost::SyncAction(plat::Menu& menu, QAction& action) {
    if (!menu.IsSeparator()) action.setText(ToQ(menu.Caption()));
    action.setVisible(menu.Visible());
    action.setEnabled(menu.Enabled());
    action.setCheckable(menu.Checked());
    action.setChecked(menu.Checked());
    if (!action.menu()) action.setShortcut(QKeySequence(ToQ(menu.Shortcut())));
    if (!menu.Container() && menu.Parent().Loaded()) {
        if (Mirror* m = MirrorOf(menu.Parent())) {
            bool any = false;
            for (plat::Menu* top : m->form->MenuBar()) any = any || top->Visible();
            m->bar->setVisible(any);
        }
    }
}

}  // namespace qthost
