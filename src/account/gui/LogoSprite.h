#pragma once
// The login window's animated emblem: it plays its frames once from start-up, one per
// timer tick, and rests on the last.
#include <QLabel>
#include <QTimer>

namespace vpsdesk::account {

class LogoSprite : public QLabel {
    Q_OBJECT
  public:
    static constexpr int kLastFrame = 50;
    static constexpr int kSize = 40;

    explicit LogoSprite(QWidget* parent = nullptr);

    void Start(int interval_ms = 30);
    void Stop();
    int Frame() const { return frame_; }
    bool Running() const { return timer_.isActive(); }

    // Frame 0 is an empty ring; the arc closes and the centre fills as frames advance.
    static QPixmap DrawFrame(int frame);

  private:
    void Advance();

    QTimer timer_;
    int frame_ = 0;
};

}  // namespace vpsdesk::account
