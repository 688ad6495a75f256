// SPDX-License-Identifier: GPL-3.0-or-later
// The encoding unit in one include: identifiers, converters, UTF-8, case mapping,
// detection and the DOS table parser.
#pragma once

#include "casemap.h"
#include "converters.h"
#include "detect.h"
#include "dostables.h"
#include "enctypes.h"
#include "utf8.h"
