#pragma once

class TSiteLists;

// The user toggled the check of row `row` of clbxFiles to newState.
// With editing disabled the check goes back and nothing else changes;
// with the Control key down every item whose path begins with the row's
// folder (up to its last separator, letter case exact) takes newState,
// sub-folders included. An accepted click sets selectionChanged. Returns
// whether the click was accepted.
bool clbxFilesClickCheck(TSiteLists& lists, int row, bool newState, bool editingEnabled, bool controlDown,
                         bool& selectionChanged);
