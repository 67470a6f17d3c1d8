// A calculator box as screen readers query its text: every query answers at once; a box is one
// word, one line, one paragraph, one sentence; characters are grapheme clusters; offsets are code
// points.
#pragma once

class QAccessibleInterface;
class QLineEdit;

namespace quorvane {

QAccessibleInterface* NewAccessibleBox(QLineEdit* box);

}  // namespace quorvane
