#include "CrossThreadCall.h"

#include <memory>
#include <stdexcept>
#include <string>

#include <boost/date_time/posix_time/posix_time_types.hpp>

namespace PF {

void CrossThreadCall::waitForResult(const BrowserHost& host, boost::unique_lock<boost::mutex>& lock) {
  // Nobody signals a shut-down, so the flag is looked at every 10 ms; a result that
  // arrives once the host is shutting down is discarded.
  while (true) {
    const bool shutDown = host.isShutDown();
    if (shutDown) throw script_error("Shutting down");
    if (m_returned) return;
    m_cond.timed_wait(lock, boost::posix_time::milliseconds(10));
  }
}

void CrossThreadCall::rethrowError() const {
  if (m_scriptError) throw script_error(m_scriptError->what());
  if (m_castError) throw bad_variant_cast(m_castError->from, m_castError->to);
  if (m_otherError) throw std::runtime_error(*m_otherError);
}

void CrossThreadCall::syncCallbackFunctor(void* userData) {
  std::unique_ptr<boost::weak_ptr<CrossThreadCall>> weakCall(static_cast<boost::weak_ptr<CrossThreadCall>*>(userData));
  boost::shared_ptr<CrossThreadCall> call = weakCall->lock();
  if (!call) return;  // the waiting thread has already given up
  try {
    call->m_funct->call();
  } catch (const script_error& e) {
    call->m_scriptError = boost::make_shared<script_error>(e.what());
  } catch (const bad_variant_cast& e) {
    call->m_castError = boost::make_shared<bad_variant_cast>(e.from, e.to);
  } catch (const std::exception& e) {
    // Any other error goes back too, so the waiting thread is never left hanging.
    call->m_otherError = boost::make_shared<std::string>(e.what());
  } catch (...) {
    call->m_otherError = boost::make_shared<std::string>("Unknown error on the main thread");
  }
  boost::lock_guard<boost::mutex> lock(call->m_mutex);
  call->m_returned = true;
  call->m_cond.notify_one();
}

void CrossThreadCall::asyncCallbackFunctor(void* userData) {
  std::unique_ptr<CrossThreadCall> call(static_cast<CrossThreadCall*>(userData));
  try {
    call->m_funct->call();
  } catch (...) {
    // Nobody is waiting for an asynchronous call: its errors are dropped here and
    // never reach the browser's caller.
  }
}

}  // namespace PF
