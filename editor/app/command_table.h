#pragma once
// Where the editor's commands are connected. Every command, from a menu, the toolbar or WM_COMMAND on the
// bus, runs through one table: a handler per identifier, given the active edit view (null without a
// document). Parts of the program that live apart (the CAD link, printing) connect their commands here, and
// the menus ask the table whether an item is enabled or checked.
#include <functional>
#include <map>

class CPadView;

class CommandTable {
public:
    using Handler = std::function<void(CPadView* view)>;
    using State = std::function<bool(CPadView* view)>;

    struct Entry {
        Handler run;
        State enabled; // empty: always enabled
        State checked; // empty: no check mark
        bool needsView = false;
    };

    // Connects a command; a later connection of the same identifier replaces the earlier one.
    void connect(int id, Entry entry);
    void connect(int id, Handler run, State checked = {}) {
        connect(id, Entry{std::move(run), {}, std::move(checked), false});
    }
    // A command of the active view, unavailable without one.
    void connectOnView(int id, Handler run, State checked = {}) {
        connect(id, Entry{std::move(run), {}, std::move(checked), true});
    }
    // Runs a command; false when none is connected, or it needs a view and there is none.
    bool run(int id, CPadView* view) const;
    bool isConnected(int id) const { return entries_.count(id) != 0; }
    bool isEnabled(int id, CPadView* view) const;
    // Whether the item shows a check mark, and its state when it does.
    bool isCheckable(int id) const;
    bool isChecked(int id, CPadView* view) const;

private:
    const Entry* find(int id) const;

    std::map<int, Entry> entries_;
};
