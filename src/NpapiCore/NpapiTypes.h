#pragma once
// Converters from a plug-in value to a browser value, one per held type.

#include <boost/shared_ptr.hpp>

#include "variant.h"
#include "npapi/NPAPI.h"

namespace PF {
namespace Npapi {

class NpapiBrowserHost;
typedef boost::shared_ptr<NpapiBrowserHost> NpapiBrowserHostPtr;

template <class T>
NPVariant makeNPVariant(const NpapiBrowserHostPtr& host, const variant& var);

}  // namespace Npapi
}  // namespace PF
