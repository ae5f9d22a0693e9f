#pragma once
// Building the settings dialogs' controls in twips, each with the name it has
// in the dialog's description (tests and screenshots find them by it).
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>

#include "ui/DialogBoxes.h"

namespace talvo::ui {

QLabel* label(QWidget* parent, const char* name, const QString& text, int left, int top, int width,
              Qt::Alignment align = Qt::AlignLeft);
QLineEdit* box(QWidget* parent, const char* name, int left, int top, int width, int height = 330);
// A box that only shows: read-only and never in the focus order.
QLineEdit* shownBox(QWidget* parent, const char* name, int left, int top, int width, int height = 330);
QPushButton* button(QWidget* parent, const char* name, const char* caption, int left, int top, int width = 1200,
                    int height = 420);
QGroupBox* frame(QWidget* parent, const char* name, const char* caption, int left, int top, int width, int height);
QComboBox* list(QWidget* parent, const char* name, int left, int top, int width);
// A dotted address: four boxes of 540 twips from `left`, box 3 leftmost, with
// a "." between them; each box's name is `name` and its index ("txtIP_3").
DottedAddress address(QWidget* parent, const char* name, int left, int top);
// The dialogs' heading label.
QLabel* heading(QWidget* parent, const char* name, const QString& text, int left, int top, int width);

// Control arrays are named "txtOutSlot_1": the name and the index.
QString indexed(const char* name, int index);

}  // namespace talvo::ui
