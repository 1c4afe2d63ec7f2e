// SPDX-FileCopyrightText: 2026 Орсета developers <orseta@orseta.example>
//
// SPDX-License-Identifier: GPL-3.0-or-later

/* Qt's Windows platform plugin includes the Wintab header, which Debian's
 * source package leaves out. Wine's header (LGPL-2.1-or-later) stands in for
 * it, given the two naming macros it takes from the rest of Wine's headers
 * and the calling convention that Wacom's header calls API. */
#ifndef ORSETA_WINTAB_H
#define ORSETA_WINTAB_H
#ifndef WINELIB_NAME_AW
#  ifdef UNICODE
#    define WINELIB_NAME_AW(name) name##W
#  else
#    define WINELIB_NAME_AW(name) name##A
#  endif
#endif
#ifndef DECL_WINELIB_TYPE_AW
#  define DECL_WINELIB_TYPE_AW(type) typedef WINELIB_NAME_AW(type) type;
#endif
#ifndef API
#  define API WINAPI
#endif
#include "wine-wintab.h"
#endif
