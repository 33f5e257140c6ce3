#pragma once
// A help topic: a title and a body of paragraphs. The body the help window
// shows is the paragraphs joined by one blank line (CR LF CR LF).
#include <QString>
#include <QStringList>

namespace zel {

struct HelpTopic {
  QString title;
  QStringList paragraphs;

  QString body() const { return paragraphs.join(QStringLiteral("\r\n\r\n")); }
};

}  // namespace zel
