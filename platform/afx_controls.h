#pragma once
// Every control class of the platform layer.

#include "platform/button.h"
#include "platform/combo_box.h"
#include "platform/edit.h"
#include "platform/progress_ctrl.h"
#include "platform/static_ctrl.h"
#include "platform/tab_ctrl.h"
#include "platform/tooltip_ctrl.h"
#include "platform/tree_ctrl.h"
