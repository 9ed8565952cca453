#pragma once

#include <QProgressBar>
#include <QWidget>

class QTimer;

// A progress bar that advances by a fixed step, the way the loops that load
// and read card lists count their work: set the range and the step, then one
// StepIt per item.
class Barra_Progreso : public QProgressBar {
    Q_OBJECT
public:
    explicit Barra_Progreso(QWidget *parent = nullptr);

    int Step() const { return m_paso; }
    void SetStep(int paso) { m_paso = paso; }
    // Advances by one step; a bar at its maximum stays there.
    void StepIt();

private:
    int m_paso = 1;
};

// The file-copy animation: a sheet travelling from one folder to another
// while the work runs, still when stopped.
class Animacion_Copia : public QWidget {
    Q_OBJECT
public:
    explicit Animacion_Copia(QWidget *parent = nullptr);

    bool Active() const;
    void SetActive(bool activa);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *evento) override;

private:
    QTimer *m_reloj;
    int m_fotograma = 0;
};
