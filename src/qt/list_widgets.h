#pragma once
// The lists: combo boxes and drive lists, list boxes, folder and file lists.
#include "platform/ui/ui.h"
#include "qt/widget_feed.h"

#include <QComboBox>
#include <QListWidget>

namespace qthost {

// Combo boxes and drive lists.
class ComboWidget : public QComboBox {
public:
    ComboWidget(plat::ListControl& control, QWidget* parent);
    void Sync(bool items);
    // Its edit field, when it has one, feeds the mouse too.
    void SetFeeder(EventFeeder* feeder);
private:
    plat::ListControl& c_;
    EventFeeder* feeder_ = nullptr;
};

// List boxes, folder lists and file lists.
class ListWidget : public QListWidget {
public:
    ListWidget(plat::ListControl& control, QWidget* parent);
    void Sync(bool items);
private:
    int RowToIndex(int row) const;
    int IndexToRow(int index) const;
    plat::ListControl& c_;
};

}  // namespace qthost
