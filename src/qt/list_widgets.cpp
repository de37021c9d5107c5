// The lists: the choice a person makes fed to the model, the model's items and selection shown.
#include "qt/list_widgets.h"

#include "qt/qt_convert.h"
#include "qt/widget_look.h"

#include <QApplication>
#include <QLineEdit>

#include <string>

namespace qthost {

namespace {

// A list's field and its entries: Base and Text; a closed drop-down list draws with the
// button roles, which take the same colours.
void SetListColours(QWidget& w, const plat::Control& c) {
    SetColours(w, QPalette::Base, QPalette::Text, c.BackColor(), c.ForeColor());
    SetColours(w, QPalette::Button, QPalette::ButtonText, c.BackColor(), c.ForeColor());
}

}  // namespace

ComboWidget::ComboWidget(plat::ListControl& control, QWidget* parent) : QComboBox(parent), c_(control) {
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (Syncing()) return;
        c_.UserSelect(index);
        Sync(false);
    });
}

void ComboWidget::SetFeeder(EventFeeder* feeder) {
    feeder_ = feeder;
    if (lineEdit()) feeder->Watch(lineEdit());
}

void ComboWidget::Sync(bool items) {
    SyncScope scope;
    SyncCommon(c_, *this);
    auto* combo = c_.GetKind() == plat::Kind::ComboBox ? static_cast<plat::ComboBox*>(&c_) : nullptr;
    const bool editable = combo && combo->Style() != plat::Combo_DropDownList;
    if (isEditable() != editable) {
        setEditable(editable);
        if (editable) {
            connect(lineEdit(), &QLineEdit::textEdited, this, [combo](const QString& text) {
                if (Syncing()) return;
                combo->UserType(FromQ(text));
            });
            if (feeder_) feeder_->Watch(lineEdit());
        }
    }
    SetListColours(*this, c_);
    if (items || count() != c_.ListCount()) {
        clear();
        for (int i = 0; i < c_.ListCount(); ++i) addItem(ToQ(c_.List(i)));
    }
    setCurrentIndex(c_.ListIndex());
    if (editable) {
        const QString t = ToQ(combo->Text());
        if (currentText() != t) setEditText(t);
    }
}

ListWidget::ListWidget(plat::ListControl& control, QWidget* parent) : QListWidget(parent), c_(control) {
    connect(this, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        if (Syncing() || !item) return;
        const int index = RowToIndex(row(item));
        if (index >= 0) c_.UserSelect(index);
        Sync(false);
    });
    // The double click itself reaches the control through its feeder; a folder list opens the
    // folder as well.
    connect(this, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        if (Syncing() || !item || !c_.Reachable() || c_.GetKind() != plat::Kind::DirListBox) return;
        auto& dir = static_cast<plat::DirListBox&>(c_);
        dir.SetPath(dir.List(RowToIndex(row(item))));
        Sync(true);
    });
    connect(this, &QListWidget::currentRowChanged, this, [this](int r) {
        // Arrow keys move the selection as a click would.
        if (Syncing() || r < 0 || QApplication::mouseButtons() != Qt::NoButton) return;
        const int index = RowToIndex(r);
        if (index >= 0 && index != c_.ListIndex()) c_.UserSelect(index);
    });
}

int ListWidget::RowToIndex(int row) const {
    if (c_.GetKind() != plat::Kind::DirListBox) return row;
    const int parents = static_cast<plat::DirListBox&>(c_).ParentCount();
    return row - parents;
}

int ListWidget::IndexToRow(int index) const {
    if (c_.GetKind() != plat::Kind::DirListBox) return index;
    return index + static_cast<plat::DirListBox&>(c_).ParentCount();
}

void ListWidget::Sync(bool items) {
    SyncScope scope;
    SyncCommon(c_, *this);
    SetListColours(*this, c_);
    if (c_.GetKind() == plat::Kind::DirListBox) {
        auto& dir = static_cast<plat::DirListBox&>(c_);
        const int parents = dir.ParentCount();
        if (items || count() != parents + dir.ListCount()) {
            clear();
            // The chain from the root, indented, then the sub-folders one step further in.
            auto leaf = [](const std::string& p) {
                std::string s = p;
                while (s.size() > 1 && s.back() == '/') s.pop_back();
                const auto slash = s.find_last_of('/');
                return slash == std::string::npos || s.size() == 1 ? s : s.substr(slash + 1);
            };
            for (int i = 0; i < parents; ++i)
                addItem(QString(i * 2, ' ') + ToQ(leaf(dir.List(i - parents))));
            for (int i = 0; i < dir.ListCount(); ++i)
                addItem(QString(parents * 2, ' ') + ToQ(leaf(dir.List(i))));
        }
        setCurrentRow(dir.ListIndex() >= 0 ? IndexToRow(dir.ListIndex()) : parents - 1);
        return;
    }
    if (items || count() != c_.ListCount()) {
        clear();
        for (int i = 0; i < c_.ListCount(); ++i) addItem(ToQ(c_.List(i)));
    }
    setCurrentRow(c_.ListIndex());
}

}  // namespace qthost
