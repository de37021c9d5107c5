#pragma once
// Everything a form needs.
#include "platform/gdi/surface.h"
#include "platform/ui/control.h"
#include "platform/ui/control_array.h"
#include "platform/ui/controls.h"
#include "platform/ui/form.h"
#include "platform/ui/menu.h"
#include "platform/ui/picture_box.h"
#include "platform/ui/snapshot.h"
