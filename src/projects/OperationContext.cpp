#include "projects/OperationContext.h"

#include "util/TarnwellError.h"

TAppData& OperationContext::Store() const
{
    if (!store)
        throw TarnwellError(QStringLiteral("The operation cannot run without its settings store"));
    return *store;
}
