// SPDX-FileCopyrightText: 2026 The Kippwerk authors
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// The window's controls as data: one row per control with its name, kind, container, caption,
// rectangle in twips and tab index. buildControls() turns the rows into widgets.

#include <QWidget>
#include <span>

#include "core/numbers.h"

namespace kippwerk::ui {

enum class Kind {
  Picture,
  Page,       // a member of Frame: group frame, caption optional
  Group,      // a member of Frame1
  Label,      // left-aligned, word-wrapped, opaque
  NameLabel,  // the same, right-aligned so that it ends at the box beside it
  Result,     // a left-aligned label whose text the mouse selects and Ctrl+C copies
  TextBox,    // right-aligned single line
  LockedBox,  // the same, read-only
  Button,     // caption wraps
  ResistorList,
  CapacitorList,
  CheckBox,
  Option,
};

struct ControlRow {
  const char* name;
  Kind kind;
  const char* parent;  // "" for the window's client area
  const char* caption;
  int left, top, width, height;  // twips
  int tabIndex;
  bool initially = false;  // shown (pages, groups), selected (option buttons)
  const char* accessibleName = nullptr;
};

// All rows, containers before their members.
std::span<const ControlRow> controlRows();

// 15 twips make a pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips) {
  return (twips * 2 + 15) / 30;
}

// Creates every control of the table under `client`, sets the tab order by tab index and
// returns nothing: the window finds its controls again by their object names.
void buildControls(QWidget* client);

}  // namespace kippwerk::ui
