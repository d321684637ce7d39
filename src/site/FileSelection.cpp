#include "site/FileSelection.h"

#include "site/SiteLists.h"

bool clbxFilesClickCheck(TSiteLists& lists, int row, bool newState, bool editingEnabled, bool controlDown,
                         bool& selectionChanged)
{
    if (row < 0 || row >= lists.FileCount())
        return false;
    if (!editingEnabled) {
        // The widget already shows the click: tell it the check stands as before.
        lists.SetChecked(row, !newState);
        lists.ShowCheck(row);
        return false;
    }
    if (controlDown) {
        const QString path = lists.File(row);
        const QString folder = path.left(path.lastIndexOf(lists.Style().Separator()) + 1);
        const TSiteLists::UpdateBatch batch(lists);
        for (int i = 0; i < lists.FileCount(); ++i) {
            if (lists.File(i).startsWith(folder, Qt::CaseSensitive))
                lists.SetChecked(i, newState);
        }
    } else {
        lists.SetChecked(row, newState);
    }
    selectionChanged = true;
    return true;
}
