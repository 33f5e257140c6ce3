#pragma once
// The one seam through which windows reach anything a test cannot see on
// screen: message boxes, file and folder dialogs, the desktop's "open",
// printing and the progress of long work. Start-up installs the real
// services; tests install a fake that records every call and answers
// questions.
#include <QString>
#include <QUrl>
#include <filesystem>
#include <functional>

#include "core/progress.h"

class QWidget;
class QPagedPaintDevice;

namespace zel {

enum class MsgIcon { None, Information, Warning, Question };
enum class MsgButtons { Ok, YesNo };
enum class MsgAnswer { Ok, Yes, No };

class Services {
 public:
  virtual ~Services() = default;

  // Plain message: application title as caption, one OK button.
  virtual void message(QWidget* parent, const QString& text) = 0;
  // Task-modal box with its own title and icon; with Yes/No, Yes is the default.
  virtual MsgAnswer box(QWidget* parent, const QString& text, const QString& title,
                        MsgIcon icon, MsgButtons buttons) = 0;
  // Hands a URL (web address, mailto:, local file or folder) to the desktop;
  // false when nothing can open it.
  virtual bool openUrl(const QUrl& url) = 0;
  // File and folder choosers, opening at `folder` (a file there is shown
  // selected); an empty string means the user cancelled.
  // `filter` reads "Description (*.ext)"; "*.*" stands for every file.
  virtual QString chooseFile(QWidget* parent, const QString& caption, const QString& folder,
                             const QString& filter) = 0;
  virtual QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) = 0;
  // Prints pages drawn by `render` on the default printer, or into a PDF that
  // is opened for the user when no printer is installed (when nothing opens
  // it, a message says where it is).
  virtual bool print(const QString& documentName,
                     const std::function<void(QPagedPaintDevice&)>& render) = 0;
  // Runs long work (a search, a list, an export, a printout) under the
  // hourglass. When it takes more than a moment a progress window with
  // `text` appears, fed by the Progress handed to `work`; its cancel button
  // makes the work stop at the next step (Cancelled).
  virtual void withProgress(QWidget* parent, const QString& text,
                            const std::function<void(const Progress&)>& work) = 0;
};

// The services in use. Never null: start-up installs the real ones.
Services& services();
// Installs new services (not owned) and returns the previous ones.
Services* setServices(Services* services);

// Runs `work` through services().withProgress. Returns false when the user
// stopped it, which needs no message; any other failure goes on to the caller.
bool runLongWork(QWidget* parent, const QString& text, const std::function<void(const Progress&)>& work);

// The services of the desktop: QMessageBox, QFileDialog, QDesktopServices,
// QPrinter, QProgressDialog.
class DesktopServices : public Services {
 public:
  void message(QWidget* parent, const QString& text) override;
  MsgAnswer box(QWidget* parent, const QString& text, const QString& title, MsgIcon icon,
                MsgButtons buttons) override;
  bool openUrl(const QUrl& url) override;
  QString chooseFile(QWidget* parent, const QString& caption, const QString& folder,
                     const QString& filter) override;
  QString chooseFolder(QWidget* parent, const QString& caption, const QString& folder) override;
  bool print(const QString& documentName,
             const std::function<void(QPagedPaintDevice&)>& render) override;
  void withProgress(QWidget* parent, const QString& text,
                    const std::function<void(const Progress&)>& work) override;
};

// True when nothing can open the URL: a local file or folder that does not
// exist, or one whose type the desktop's own records give no default
// application for (xdg-mime), and likewise a "mailto:" link without a mail
// program. False for other URLs and whenever that cannot be told, so that
// the desktop still gets to try.
bool noApplicationOpens(const QUrl& url);

// A document that was written but that nothing could open stays where it is:
// `failure`, then one sentence that says where the user finds it.
QString keptDocumentMessage(const QString& failure, const std::filesystem::path& file);

}  // namespace zel
