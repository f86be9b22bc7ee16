// A digest summed over a file's bytes as they stream in, for comparison with the one a provider's
// listing gives.
#pragma once

#include <QByteArrayView>
#include <QString>

class ContentDigest
{
public:
    virtual ~ContentDigest() = default;

    virtual void addData(QByteArrayView bytes) = 0;
    // Lower-case hex, in the provider's own form, of everything added.
    virtual QString result() = 0;
};
