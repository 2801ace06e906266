#pragma once
// Objects addressed by numbers the application chooses. Numbers 0 and up index a
// table that grows on demand; asking for -1 places the object outside the table
// under a number handed out here, which the caller then uses like its own.
// Each object is deleted by the code that put it in, so a table can be owned
// where its kind is only declared.
#include <map>
#include <memory>
#include <utility>
#include <vector>

constexpr int anyNumber = -1;

template <typename T>
class NumberedTable {
public:
    // Deletes through the function the putting code gave.
    struct Deleter {
        void (*destroy)(T*) = nullptr;
        void operator()(T* object) const { destroy(object); }
    };
    using Owned = std::unique_ptr<T, Deleter>;

    explicit NumberedTable(size_t step) : step_(step), slots_(step) {}

    T* find(int number) const {
        if (number >= firstOutside) {
            auto it = outside_.find(number);
            return it == outside_.end() ? nullptr : it->second.get();
        }
        if (number < 0 || static_cast<size_t>(number) >= slots_.size()) return nullptr;
        return slots_[static_cast<size_t>(number)].get();
    }

    // The number an object asked for under `requested` will get.
    int reserve(int requested) { return requested == anyNumber ? nextOutside_++ : requested; }

    T& put(int number, std::unique_ptr<T> made) {
        T& stored = *made;
        Owned object(made.release(), Deleter{[](T* p) { delete p; }});
        if (number >= firstOutside) {
            outside_[number] = std::move(object);
        } else {
            if (static_cast<size_t>(number) >= slots_.size()) slots_.resize(static_cast<size_t>(number) + step_);
            slots_[static_cast<size_t>(number)] = std::move(object);
        }
        return stored;
    }

    // Takes the object out of the table; the caller decides when it dies.
    Owned take(int number) {
        if (number >= firstOutside) {
            auto it = outside_.find(number);
            if (it == outside_.end()) return nullptr;
            auto object = std::move(it->second);
            outside_.erase(it);
            return object;
        }
        if (number < 0 || static_cast<size_t>(number) >= slots_.size()) return nullptr;
        return std::move(slots_[static_cast<size_t>(number)]);
    }

    // Takes every object out and lets it go, in number order.
    void releaseAll() {
        for (int number : numbers()) take(number);
    }

    template <typename F>
    void forEach(F f) const {
        for (size_t i = 0; i < slots_.size(); ++i)
            if (slots_[i]) f(static_cast<int>(i), *slots_[i]);
        for (auto& [number, object] : outside_) f(number, *object);
    }

    std::vector<int> numbers() const {
        std::vector<int> all;
        forEach([&](int number, const T&) { all.push_back(number); });
        return all;
    }

    static constexpr int firstOutside = 1 << 30;

private:
    size_t step_;
    std::vector<Owned> slots_;
    std::map<int, Owned> outside_;
    int nextOutside_ = firstOutside;
};
