#pragma once
// The progress of a folder import, with a way to cancel it. It shows only
// when the import takes longer than a moment, and closes itself when the
// import's result arrives.

#include <QProgressDialog>

namespace tavo {

class LocalImport;

class ImportProgressDialog : public QProgressDialog {
    Q_OBJECT
public:
    ImportProgressDialog(LocalImport& import, QWidget* parent = nullptr);

private:
    void OnProgress(quint64 id, int done, int total);
};

}  // namespace tavo
