// The record page: the record tree on the left, the record view of the selected record
// (title, value editor, hex view, help text) and the curve panel below.
#pragma once

#include "AirFileReader.h"
#include "HexEditorView.h"

#include <QWidget>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QSplitter;
class QTreeView;

namespace kelvara {

class ChangeTracker;
class RecordDictionary;
class RecordNode;
class RecordTree;
class RecordTreeModel;
class Settings;
class TablePanel;
class UserPrompts;

struct RecordPageContext {
    Settings& settings;
    UserPrompts& prompts;
    ChangeTracker& changes;
    const RecordDictionary& dictionary;
    RecordTree& tree;
};

class RecordPage : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kSelectorRows = 500;

    explicit RecordPage(RecordPageContext context, QWidget* parent = nullptr);
    ~RecordPage() override;

    // Reads a file into a fresh tree and swaps it in only on success, so a file that cannot
    // be read leaves the shown tree, its selection and its edits alone.
    // options are those read() loads with; captions the load does not store are built with them.
    ReadResult ReplaceTree(const ReadOptions& options, const std::function<ReadResult(RecordTree&)>& read);
    // A node's caption as the tree shows it.
    [[nodiscard]] std::string CaptionOf(const RecordNode& node) const;
    // Path of the file shown; names it in the table warning.
    void SetFilePath(std::string path) { mFilePath = std::move(path); }
    [[nodiscard]] const std::string& FilePath() const { return mFilePath; }
    // What the shown file was read with, to read it again the same way.
    [[nodiscard]] const ReadOptions& LoadOptions() const { return mCaptionOptions; }
    [[nodiscard]] const RecordDictionary& Dictionary() const { return mContext.dictionary; }

    void SelectNode(const RecordNode* node);
    [[nodiscard]] RecordNode* SelectedNode() const;
    [[nodiscard]] RecordTreeModel* Model() const { return mModel; }

    // Menu entries that the record view switches (any may be null).
    void SetMenuActions(QAction* cut, QAction* copy, QAction* compare);
    // The hex view on: upper area 350 pixels, editor strip 60 above it; off: upper area 210.
    void SetHexVisible(bool visible);

    // splitter1..3: tree width, upper area height, help panel width.
    void ApplyPanelSizes(int treeWidth, int upperHeight, int helpWidth);
    [[nodiscard]] std::array<int, 3> PanelSizes() const;
    // The graph keeps 100 pixels; on resize the upper area stays within window height - 150.
    void ApplyGraphRules(int windowHeight, bool resizing);

    // The record view for the selected node.
    void TVChange();
    // A number or truth value record's caption after its bytes changed.
    void UpdateNodeCaption(RecordNode& node);

    // Controls, named as the user manual names them.
    QTreeView* TV = nullptr;
    QLabel* TitlePanel = nullptr;
    QWidget* TextPanel = nullptr;
    QPlainTextEdit* TextMemo = nullptr;
    QWidget* NumberPanel = nullptr;
    QLineEdit* eNumber = nullptr;
    QGroupBox* BoolPanel = nullptr;
    QRadioButton* rbTrue = nullptr;
    QRadioButton* rbFalse = nullptr;
    QPlainTextEdit* CompareMemo = nullptr;
    HexEditorView* HexEditor = nullptr;
    QPlainTextEdit* HelpMemo = nullptr;

    // The view guards; true only while the named write is under way.
    [[nodiscard]] bool TreeLoading() const { return mTreeLoading; }
    [[nodiscard]] bool TableShown() const { return mTableShown; }
    // The table controls (selector, graph, value fields) are the panel's.
    [[nodiscard]] TablePanel* Tables() const { return mTables; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildLayout();
    QWidget* BuildEditorStrip();
    QWidget* BuildTableSelector();
    QWidget* BuildCurvePanel();
    void ClearView();
    void ShowPanel(QWidget* panel);
    void FillHexView(const RecordNode& node, size_t shownLength);
    void FillEditor(const RecordNode& node);
    void CheckTblDb(const RecordNode& node);
    // Bytes the value editor of this type needs; 0 for types without one.
    [[nodiscard]] static size_t ValueWidth(int type);

    void TextMemoChange();
    void RefuseUnstorableText(const RecordNode& node, const QString& typed);
    void eNumberChange();
    void rbTrueClick();
    void Commit(RecordNode& node, bool updateCaption);
    // After a table edit: the view above the editors is renewed, the editors and graph stay.
    void CurveCommit();
    void HexToRecord();

    [[nodiscard]] bool German() const;
    [[nodiscard]] char LocaleMark() const;

    RecordPageContext mContext;
    RecordTreeModel* mModel = nullptr;
    TablePanel* mTables = nullptr;
    QSplitter* mSplitter1 = nullptr;
    QSplitter* mSplitter2 = nullptr;
    QSplitter* mSplitter3 = nullptr;
    QSplitter* mSplitter4 = nullptr;
    QAction* mCutAction = nullptr;
    QAction* mCopyAction = nullptr;
    QAction* mCompareAction = nullptr;
    std::string mFilePath;
    ReadOptions mCaptionOptions;

    bool mTreeLoading = false;
    bool mViewRefreshing = false;
    bool mEditorCommitting = false;
    bool mHexCommitting = false;
    bool mCurveCommitting = false;
    bool mTableShown = false;
    bool mRecordChosen = false; // the view follows a new selection, not a change of the record
    std::vector<std::string> mTableTextPieces;
    std::array<std::vector<std::string>, 3> mNameLists;
};

} // namespace kelvara
