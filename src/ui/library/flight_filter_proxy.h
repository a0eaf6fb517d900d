// SPDX-License-Identifier: MIT
#pragma once

#include <QSortFilterProxyModel>
#include <QString>

namespace tevusb::ui {

class FlightTableModel;

// Sorting and as-you-type filtering of the library table. The filter keeps the rows whose
// rocket, motor, site, notes, comment or date contain every word typed, in any case.
// It reads the model's rows directly: a keystroke must not cost a value per cell.
class FlightFilterProxy : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit FlightFilterProxy(FlightTableModel* model, QObject* parent = nullptr);

    void setSearch(const QString& text);
    const QString& search() const { return m_text; }

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

  private:
    FlightTableModel* m_model;
    QString m_text;
    QStringList m_words;
};

}  // namespace tevusb::ui
