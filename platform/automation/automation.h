// Everything of the automation layer in one include.
#pragma once

#include "platform/automation/errors.h"
#include "platform/automation/factory.h"
#include "platform/automation/module.h"
#include "platform/automation/object.h"
#include "platform/automation/variant.h"
#include "platform/automation/vbconv.h"
#include "platform/automation/vbtext.h"
#include "platform/automation/yield.h"
