// Every control model of the framework: include this one header to use
// them. What they share is in platform/ControlBase.h.
#pragma once

#include "platform/Buttons.h"
#include "platform/Containers.h"
#include "platform/ControlBase.h"
#include "platform/GraphicControls.h"
#include "platform/HotKeys.h"
#include "platform/InputControls.h"
#include "platform/Menus.h"
