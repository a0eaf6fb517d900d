// SPDX-License-Identifier: MIT
#pragma once

// The device operations both fronts start, in one include. Each is one function taking
// the device, its own arguments, a progress callback and a cancel flag, and returning an
// Operation<T>: a DeviceResult, the status entries in order, and the value it read.
#include "device/connect_operations.h"
#include "device/flight_operations.h"
#include "device/memory_image.h"
#include "device/memory_operations.h"
#include "device/settings_operations.h"
#include "device/status_texts.h"
#include "device/value_operations.h"
