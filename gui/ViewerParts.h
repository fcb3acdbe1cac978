// Pieces that every viewer window shares: its buttons and labels as designed,
// the bottom bar's explanations, and the note on coloured output.
#pragma once

#include "viewers/Geometry.h"
#include "viewers/LineModel.h"

#include <QString>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QLayout;
class QLabel;
class QPushButton;
class QWidget;

namespace quorlin::gui {

class TPanelView;

/// Places window at rect pulled onto the available screens (OntoScreens), so
/// a position stored on a wider or another display never opens a window out
/// of sight.
void PlaceOnScreens(QWidget* window, const TWindowRect& rect);

/// The designed rectangle of a viewer made wide enough for rowsWidth, the
/// width its panels need to show a whole listing row (both reference
/// numbers); PlaceOnScreens cuts it to the screen.
TWindowRect WideEnough(TWindowRect designed, int rowsWidth);

/// The keys every viewer answers besides its buttons' Alt letters: F8 and
/// Alt+Down click down (next change span), Shift+F8 and Alt+Up click up
/// (their hints say so), Ctrl+F clicks find, F3 runs findNext and Ctrl+G
/// goToLine.
void AddViewerKeys(QWidget* viewer, QPushButton* down, QPushButton* up, QPushButton* find,
                   const std::function<void()>& findNext, const std::function<void()>& goToLine);

/// Sets the tab order of widgets to the order given (the order on the screen).
void TabChain(const std::vector<QWidget*>& widgets);

/// The "Chg Chars" box of a viewer (on: its panels mark changed characters).
QCheckBox* MakeChgCharsBox(QWidget* parent, const char* name, const std::vector<TPanelView*>& panels);

/// A push button with its designed name, caption and hint.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint);
/// An arrow button for change-span navigation (down or up).
QPushButton* MakeArrowButton(QWidget* parent, const char* name, bool down, const QString& hint);
/// A label in one of the listing colours ("blue", "red", "navy").
QLabel* MakeColourLabel(QWidget* parent, const QString& text, TLineColour colour, bool bold = false);
/// A font-size combo with the given sizes, showing current.
QComboBox* MakeFontCombo(QWidget* parent, const char* name, const QList<int>& sizes, int current);
/// The grid of a viewer's top panel, with the viewers' margins and spacing.
QGridLayout* MakeTopGrid(QWidget* top);
/// The change-span arrows under their caption, with the "(Cr for Repeat)"
/// hint below when repeatHint is set; down and up get the two buttons.
QLayout* MakeSpanArrows(QWidget* parent, const char* downName, const char* upName, const QString& caption,
                        bool repeatHint, QPushButton*& down, QPushButton*& up);
/// The "New File = " and "Old  File = " rows with the two name labels.
QGridLayout* MakeFileNameRows(QWidget* parent, const char* newName, const char* oldName, QLabel*& newLabel,
                              QLabel*& oldLabel);
/// The print and display font-size combos under their captions.
QGridLayout* MakeFontSizes(QWidget* parent, const char* printName, const QString& printCaption,
                           const char* displayName, const QString& displayCaption, const QString& displayHint,
                           QComboBox*& print, QComboBox*& display);
/// The bottom bar: what Inserts and Deletes are and, with colourNote, the
/// note that coloured output is saved with the .rtf extension and printed
/// from a word processor.
QWidget* MakeBottomBar(QWidget* parent, bool colourNote = true);

} // namespace quorlin::gui
