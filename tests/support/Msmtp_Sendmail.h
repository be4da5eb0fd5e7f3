#pragma once
// msmtp as the sendmail interface, configured for the test SMTP server on
// 127.0.0.1 (no authentication, no TLS); set as $SENDMAIL while it lives.

#include <QTemporaryDir>

class Msmtp_Sendmail {
public:
    explicit Msmtp_Sendmail(int port);
    ~Msmtp_Sendmail();

private:
    QTemporaryDir dir_;
};
