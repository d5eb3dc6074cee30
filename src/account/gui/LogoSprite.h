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

    void start(int interval_ms = 30);
    void stop();
    int frame() const { return frame_; }
    bool running() const { return timer_.isActive(); }

    // Frame 0 is an empty ring; the arc closes and the centre fills as frames advance.
    static QPixmap drawFrame(int frame);

  private:
    void advance();

    QTimer timer_;
    int frame_ = 0;
};

}  // namespace vpsdesk::account
