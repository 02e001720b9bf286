#pragma once
// A test's own application object: made and installed as the application pointer for the test's scope,
// then deleted, with any quit message the test left behind taken off the queue.

class FrameworkApp;

class ScopedApplication {
public:
    ScopedApplication();
    ScopedApplication(const ScopedApplication&) = delete;
    ScopedApplication& operator=(const ScopedApplication&) = delete;
    ~ScopedApplication();

    FrameworkApp* operator->() const { return app_; }
    FrameworkApp* Get() const { return app_; }

private:
    FrameworkApp* app_;
    FrameworkApp* previous_;
};
