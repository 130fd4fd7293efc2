// Closing steps that run whether an operation ends normally or by an exception, in the
// order the operation defines them. A failure of the closing steps themselves after an
// exception is dropped, so the exception that ended the operation is the one reported.
#pragma once

#include "runtime/Classes.h"

template <class Body, class Finish>
void RunWithFinally(Body body, Finish finish) {
    try {
        body();
    } catch (...) {
        try {
            finish();
        } catch (...) {
        }
        throw;
    }
    finish();
}

// Frees a component made for one step, also when the step fails.
class FreeOnExit {
public:
    explicit FreeOnExit(rt::TComponent* component) : FComponent(component) {}
    ~FreeOnExit() { FComponent->Free(); }
    FreeOnExit(const FreeOnExit&) = delete;
    FreeOnExit& operator=(const FreeOnExit&) = delete;

private:
    rt::TComponent* FComponent;
};
