#pragma once
// A list the user fills by typing (the watch-dog numbers, the area codes): entries stay in the
// order they were added, a highlighted one can be taken out again.
#include <QString>

class QListWidget;

namespace quillon {

enum class Duplicates {
    Keep,    // the same text may stand twice (area codes)
    Refuse,  // "Already in list" (watch-dog numbers); compared without regard to case
};

// The highlighted row, or -1 when nothing is highlighted.
int highlightedRow(const QListWidget* list);

// Adds the text at the end; false when the list refuses it (the user has been told why).
bool appendTyped(QListWidget* list, const QString& text, Duplicates duplicates);

// Removes the highlighted entry and highlights the one above it, so repeated presses walk up
// the list; taking out the first leaves nothing highlighted. Nothing highlighted: nothing.
void removeHighlightedTyped(QListWidget* list);

}  // namespace quillon
