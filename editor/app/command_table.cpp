#include "editor/app/command_table.h"

void CommandTable::connect(int id, Entry entry) {
    entries_[id] = std::move(entry);
}

const CommandTable::Entry* CommandTable::find(int id) const {
    const auto found = entries_.find(id);
    return found == entries_.end() ? nullptr : &found->second;
}

bool CommandTable::isEnabled(int id, CPadView* view) const {
    const Entry* entry = find(id);
    if (!entry || (entry->needsView && !view)) return false;
    return !entry->enabled || entry->enabled(view);
}

bool CommandTable::run(int id, CPadView* view) const {
    if (!isEnabled(id, view)) return false;
    find(id)->run(view);
    return true;
}

bool CommandTable::isCheckable(int id) const {
    const Entry* entry = find(id);
    return entry && entry->checked;
}

bool CommandTable::isChecked(int id, CPadView* view) const {
    const Entry* entry = find(id);
    return entry && entry->checked && (!entry->needsView || view) && entry->checked(view);
}
