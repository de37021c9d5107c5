#pragma once
// One Qt widget per kind of control. Each widget shows its control and turns what a person does
// with it into the control model's user actions; the model then decides and the host mirrors
// the outcome back (a refused click leaves a check box as it was).
#include "qt/button_widgets.h"
#include "qt/list_widgets.h"
#include "qt/picture_widgets.h"
#include "qt/scroll_tab_widgets.h"
#include "qt/text_widgets.h"
#include "qt/widget_feed.h"
#include "qt/widget_look.h"
