#pragma once

// The whole toolkit: application and modal sessions, windows and layouts, controls, controllers and
// outlets, alerts, timers and the clock, user defaults, window levels, and the scripted user.
#include "appkit/Alert.h"
#include "appkit/Application.h"
#include "appkit/Clock.h"
#include "appkit/Controls.h"
#include "appkit/Events.h"
#include "appkit/Layout.h"
#include "appkit/RunLoop.h"
#include "appkit/ScriptedUser.h"
#include "appkit/UserDefaults.h"
#include "appkit/View.h"
#include "appkit/Window.h"
#include "appkit/WindowController.h"
#include "appkit/WindowLevel.h"
#include "graphics/Graphics.h"
