// Pieces that every viewer window shares: its buttons and labels as designed,
// the bottom bar's explanations, and the note on coloured output.
#pragma once

#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class QWidget;

namespace quorlin::gui {

/// A push button with its designed name, caption and hint.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint);
/// An arrow button for change-span navigation (down or up).
QPushButton* MakeArrowButton(QWidget* parent, const char* name, bool down, const QString& hint);
/// A label in one of the listing colours ("blue", "red", "navy").
QLabel* MakeColourLabel(QWidget* parent, const QString& text, const char* colour, bool bold = false);
/// A font-size combo with the given sizes, showing current.
QComboBox* MakeFontCombo(QWidget* parent, const char* name, const QList<int>& sizes, int current);
/// The bottom bar: what Inserts and Deletes are and, with colourNote, the
/// note that coloured output is saved with the .rtf extension and printed
/// from a word processor.
QWidget* MakeBottomBar(QWidget* parent, bool colourNote = true);

} // namespace quorlin::gui
