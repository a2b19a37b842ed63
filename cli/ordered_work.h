#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// Jobs run on a few threads, their results handed back in the order the
// jobs came: a batch writes its rows side by side and still reports them
// one after the other. At most `limit` jobs wait or run at once, so the work
// ahead of the reporting stays small whatever the number of rows.
namespace quorvane::cli {

template <typename Result>
class OrderedWork {
public:
    // With one worker, each job runs where it is submitted, before submit returns.
    OrderedWork(int workers, int limit) : limit_(limit)
    {
        for (int i = 0; workers > 1 && i < workers; ++i)
            threads_.emplace_back([this] { work(); });
    }

    ~OrderedWork()
    {
        {
            const std::lock_guard lock(mutex_);
            queue_.clear();
            closing_ = true;
        }
        jobReady_.notify_all();
        for (std::thread& thread : threads_)
            thread.join();
    }

    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    // Whether as many jobs as allowed are waiting, running or done but not taken.
    [[nodiscard]] bool full() const
    {
        const std::lock_guard lock(mutex_);
        return next_ - taken_ >= limit_;
    }

    void submit(std::function<Result()> job)
    {
        if (threads_.empty()) {
            add(job());
            return;
        }
        {
            const std::lock_guard lock(mutex_);
            queue_.emplace_back(next_++, std::move(job));
        }
        jobReady_.notify_one();
    }

    // A result known without any work, in its turn all the same.
    void add(Result result)
    {
        const std::lock_guard lock(mutex_);
        done_.emplace(next_++, std::move(result));
    }

    // The next result in the jobs' order: waited for when `wait`; nullopt
    // when it is not ready, or when every result was taken.
    [[nodiscard]] std::optional<Result> next(bool wait)
    {
        std::unique_lock lock(mutex_);
        if (taken_ == next_)
            return std::nullopt;
        if (wait)
            resultReady_.wait(lock, [this] { return done_.contains(taken_); });
        const auto found = done_.find(taken_);
        if (found == done_.end())
            return std::nullopt;
        std::optional<Result> result(std::move(found->second));
        done_.erase(found);
        ++taken_;
        return result;
    }

    // Drops the jobs not started, waits for those running, and returns every
    // result not taken, in no particular order: nothing comes after.
    [[nodiscard]] std::vector<Result> cancel()
    {
        std::unique_lock lock(mutex_);
        queue_.clear();
        resultReady_.wait(lock, [this] { return running_ == 0; });
        std::vector<Result> left;
        for (auto& [index, result] : done_)
            left.push_back(std::move(result));
        done_.clear();
        taken_ = next_;
        return left;
    }

private:
    void work()
    {
        for (;;) {
            std::unique_lock lock(mutex_);
            jobReady_.wait(lock, [this] { return closing_ || !queue_.empty(); });
            if (queue_.empty())
                return;
            auto [index, job] = std::move(queue_.front());
            queue_.pop_front();
            ++running_;
            lock.unlock();
            Result result = job();
            lock.lock();
            --running_;
            done_.emplace(index, std::move(result));
            lock.unlock();
            resultReady_.notify_all();
        }
    }

    const long long limit_;
    mutable std::mutex mutex_;
    std::condition_variable jobReady_;
    std::condition_variable resultReady_;
    std::deque<std::pair<long long, std::function<Result()>>> queue_;
    std::map<long long, Result> done_;
    long long next_ = 0;  // the index the next job gets
    long long taken_ = 0; // the index of the next result to hand back
    int running_ = 0;
    bool closing_ = false;
    std::vector<std::thread> threads_;
};

} // namespace quorvane::cli
