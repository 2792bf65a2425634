#pragma once

#include <QString>

#include <condition_variable>
#include <mutex>
#include <thread>

// Keeps the disk writing a file while it is still being made (by this process or another of its threads),
// every few milliseconds until the pacer goes out of scope, so its bytes go to the disk while it is written
// instead of all at the final sync. Only a hint: the file's own sync still proves it durable.
class WriteBackPacer
{
public:
    explicit WriteBackPacer(QString path);
    ~WriteBackPacer();
    WriteBackPacer(const WriteBackPacer&) = delete;
    WriteBackPacer& operator=(const WriteBackPacer&) = delete;

private:
    void run(const QString& path);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    std::thread m_thread; // last: it starts once the members it uses are made
};
