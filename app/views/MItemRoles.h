#pragma once

#include <Qt>

// Item-data roles of the check lists and filter trees.
namespace ItemRole {
// The item's check or tree state (CheckItemState, FilterTreeItemState).
constexpr int State = Qt::UserRole + 1;
// The item's value: an id or a key.
constexpr int Value = Qt::UserRole + 2;
} // namespace ItemRole
