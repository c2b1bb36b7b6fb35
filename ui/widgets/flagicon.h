// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QIcon>

namespace kippwerk::ui {

// The flag icon in every size the resource generator draws (16 to 256 pixels). An image is
// read from its file only when a window or the desktop first asks for its size, so the
// larger ones cost nothing at start-up.
QIcon flagIcon();

}  // namespace kippwerk::ui
