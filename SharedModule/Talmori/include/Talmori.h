// Public header of the widget library.
#pragma once

#include "ButtonListener.h"
#include "ButtonWidget.h"
#include "EventBuildHelper.h"
#include "TabItemButtonWidget.h"
#include "TabPageWidget.h"
#include "TabWidget.h"
#include "Widget.h"
#include "WidgetContainer.h"
#include "WidgetDC.h"
#include "WidgetFoundationWnd.h"
#include "WidgetManager.h"
#include "WidgetObject.h"
