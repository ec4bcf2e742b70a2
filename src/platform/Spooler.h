#pragma once

#include "AppError.h"

#include <functional>

// libcups talks to the print spooler on the calling thread and waits as long
// as the spooler does: minutes for a stopped cupsd. Calls that may wait for
// it run on a thread of their own while the window waits a few seconds at
// most, repainting and answering the window manager but taking no input.
// Past that the call is left to finish alone, so it must own all it uses.
namespace Spooler {

// True when the call ended in time.
bool finishes(std::function<void()> call);
// Whether the spooler answers in time; a refusal, or no spooler at all, is an answer.
bool answers();
AppError notAnswering();
// What libcups's last request on this thread says of the job, in Italian; empty when it went through.
QString jobError(const QString &printer);

} // namespace Spooler
