// CModelInfoDlg: the Model Information dialog. The user picks radio type, VHF/UHF,
// model, frequency band, option board and (with a trunking board) the number of
// trunking groups; OK runs the model change on the data with its questions.
#pragma once

#include "model/model_info.h"

#include <QDialog>

class QComboBox;
class QLabel;

namespace vrl::gui {

class AppContext;
class SpinEdit;

class CModelInfoDlg : public QDialog {
    Q_OBJECT
  public:
    CModelInfoDlg(AppContext& ctx, QWidget* parent);

    // The choice the controls hold now; nullopt-like state is reported by validate().
    ModelChoice choice() const;
    // True after OK changed the data; then the caller closes the function windows
    // (already done) and rebuilds the title.
    bool changed() const { return changed_; }
    // True when OK also reset the file name (radio type, VHF/UHF or label changed).
    bool fileNameReset() const { return fileNameReset_; }

    QComboBox* radioType() const { return radioType_; }
    QComboBox* vhfUhf() const { return vhfUhf_; }
    QComboBox* modelType() const { return modelType_; }
    QComboBox* frequency() const { return frequency_; }
    QComboBox* optionBoard() const { return optionBoard_; }
    SpinEdit* groupCount() const { return groupCount_; }

    // Limit of the trunking-group count for a label: 8 on 8-channel labels, else 16.
    static int groupLimit(std::string_view label);

  public slots:
    void accept() override;

  private:
    void loadChoice(const ModelChoice& choice);
    int selectedRow() const;
    void radioTypeOrBandChanged();
    void modelTypeChanged();
    void optionBoardChanged();
    void rebuildOptionBoard(std::string_view label);
    void groupStepped(int delta);
    void groupEdited();
    bool checkSelections();
    void refuse(QWidget* focus);

    AppContext& ctx_;
    QComboBox* radioType_;
    QComboBox* vhfUhf_;
    QComboBox* modelType_;
    QComboBox* frequency_;
    QComboBox* optionBoard_;
    SpinEdit* groupCount_;
    bool changed_ = false;
    bool fileNameReset_ = false;
};

} // namespace vrl::gui
