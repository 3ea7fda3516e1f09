#include "headless/DialogAnswers.h"

namespace headless {

namespace {

template <typename Answer>
std::optional<Answer> takeFront(std::deque<Answer>& queue) {
    if (queue.empty()) {
        return std::nullopt;
    }
    Answer answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

void DialogAnswers::clear() {
    yesNo_.clear();
    numbers_.clear();
    files_.clear();
}

std::optional<bool> DialogAnswers::nextYesNo() {
    return takeFront(yesNo_);
}

std::optional<NumberAnswer> DialogAnswers::nextNumber() {
    return takeFront(numbers_);
}

std::optional<std::optional<std::string>> DialogAnswers::nextFile() {
    return takeFront(files_);
}

}  // namespace headless
