// The reference count every platform object keeps, and the QueryInterface of those that answer
// one interface besides IUnknown. Internal to the platform; the game never includes this header.
#pragma once

#include "platform/api/ddraw.h"

namespace platform::ddraw {

// AddRef and Release over one count for all of Interfaces (an object answering several shares
// one count). The count starts at 1, the reference the maker hands out; the last Release calls
// Destroy, which deletes the object unless the object leaves that to its owner.
template <typename... Interfaces>
class CountedObject : public Interfaces... {
 public:
  ULONG AddRef() final { return ++references_; }
  ULONG Release() final {
    if (--references_ > 0) return references_;
    Destroy();
    return 0;
  }

 protected:
  ~CountedObject() override = default;
  virtual void Destroy() { delete this; }

 private:
  ULONG references_ = 1;
};

// A counted object with one interface: QueryInterface hands it out (adding a reference) for
// IID_IUnknown and kInterfaceId, answers E_NOINTERFACE with *object null for anything else, and
// DDERR_INVALIDPARAMS for a null out-pointer.
template <typename Interface, const IID& kInterfaceId>
class SingleInterfaceObject : public CountedObject<Interface> {
 public:
  HRESULT QueryInterface(REFIID iid, LPVOID* object) final {
    if (!object) return DDERR_INVALIDPARAMS;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != kInterfaceId) return E_NOINTERFACE;
    this->AddRef();
    *object = static_cast<Interface*>(this);
    return DD_OK;
  }
};

}  // namespace platform::ddraw
