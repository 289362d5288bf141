#pragma once
// Carries a call made on any thread to the browser's main thread: synchronously, with
// the result or the error handed back to the waiting caller, or asynchronously.

#include <type_traits>
#include <utility>

#include <boost/make_shared.hpp>
#include <boost/shared_ptr.hpp>
#include <boost/thread/condition_variable.hpp>
#include <boost/thread/locks.hpp>
#include <boost/thread/mutex.hpp>
#include <boost/weak_ptr.hpp>

#include "BrowserHost.h"
#include "script_error.h"

namespace PF {

class FunctorCall {
 public:
  virtual ~FunctorCall() {}
  virtual void call() = 0;
};

// A bound call with its arguments copied, the object it must keep alive (C), and the
// place its result (RT) is kept.
template <class Functor, class C, class RT>
class FunctorCallImpl : public FunctorCall {
 public:
  FunctorCallImpl(const boost::shared_ptr<C>& obj, const Functor& f) : m_reference(obj), m_func(f), m_retVal() {}
  explicit FunctorCallImpl(const Functor& f) : m_func(f), m_retVal() {}
  void call() override { m_retVal = m_func(); }
  const RT& result() const { return m_retVal; }

 private:
  boost::shared_ptr<C> m_reference;
  Functor m_func;
  RT m_retVal;
};

template <class Functor, class C>
class FunctorCallImpl<Functor, C, void> : public FunctorCall {
 public:
  FunctorCallImpl(const boost::shared_ptr<C>& obj, const Functor& f) : m_reference(obj), m_func(f) {}
  explicit FunctorCallImpl(const Functor& f) : m_func(f) {}
  void call() override { m_func(); }

 private:
  boost::shared_ptr<C> m_reference;
  Functor m_func;
};

class CrossThreadCall {
 public:
  virtual ~CrossThreadCall() {}

  template <class Functor>
  static auto syncCall(const boost::shared_ptr<const BrowserHost>& host, Functor func) -> decltype(func());

  template <class C, class Functor>
  static void asyncCall(const boost::shared_ptr<const BrowserHost>& host, const boost::shared_ptr<C>& obj,
                        Functor func);

  // Main-thread halves; nothing thrown by the bound call leaves them.
  static void syncCallbackFunctor(void* userData);
  static void asyncCallbackFunctor(void* userData);

 private:
  explicit CrossThreadCall(const boost::shared_ptr<FunctorCall>& funct) : m_funct(funct) {}

  // Waits until the main thread has run the call, or the host shuts down.
  void waitForResult(const BrowserHost& host, boost::unique_lock<boost::mutex>& lock);
  // Re-raises, on the waiting thread, what the bound call raised on the main thread.
  void rethrowError() const;

  boost::shared_ptr<FunctorCall> m_funct;
  // What the bound call raised, as copies owned by this call alone (an exception
  // object is never shared between the two threads): a script error keeps its
  // message, a failed conversion its two type names, any other error its message.
  boost::shared_ptr<script_error> m_scriptError;
  boost::shared_ptr<bad_variant_cast> m_castError;
  boost::shared_ptr<std::string> m_otherError;
  bool m_returned = false;
  boost::condition_variable m_cond;
  boost::mutex m_mutex;
};

template <class Functor>
auto CrossThreadCall::syncCall(const boost::shared_ptr<const BrowserHost>& host, Functor func) -> decltype(func()) {
  typedef decltype(func()) RT;
  typedef FunctorCallImpl<Functor, bool, RT> Impl;
  boost::shared_ptr<Impl> funct = boost::make_shared<Impl>(func);
  if (host->isMainThread()) {
    funct->call();
    if constexpr (std::is_void<RT>::value)
      return;
    else
      return funct->result();
  }

  boost::shared_ptr<CrossThreadCall> call(new CrossThreadCall(funct));
  auto* weakCall = new boost::weak_ptr<CrossThreadCall>(call);
  if (!host->ScheduleAsyncCall(&CrossThreadCall::syncCallbackFunctor, weakCall)) {
    delete weakCall;
    throw script_error("Could not marshal to main thread");
  }
  {
    boost::unique_lock<boost::mutex> lock(call->m_mutex);
    call->waitForResult(*host, lock);
  }
  call->rethrowError();
  if constexpr (!std::is_void<RT>::value) return funct->result();
}

template <class C, class Functor>
void CrossThreadCall::asyncCall(const boost::shared_ptr<const BrowserHost>& host, const boost::shared_ptr<C>& obj,
                                Functor func) {
  typedef FunctorCallImpl<Functor, C, void> Impl;
  CrossThreadCall* call = new CrossThreadCall(boost::make_shared<Impl>(obj, func));
  if (!host->ScheduleAsyncCall(&CrossThreadCall::asyncCallbackFunctor, call)) delete call;
}

template <class Functor>
auto BrowserHost::CallOnMainThread(Functor func) const -> decltype(func()) {
  boost::shared_lock<boost::shared_mutex> lock(m_xtmutex);
  return CrossThreadCall::syncCall(shared_from_this(), func);
}

template <class C, class Functor>
void BrowserHost::ScheduleOnMainThread(const boost::shared_ptr<C>& obj, Functor func) const {
  boost::shared_lock<boost::shared_mutex> lock(m_xtmutex);
  CrossThreadCall::asyncCall(shared_from_this(), obj, func);
}

}  // namespace PF
