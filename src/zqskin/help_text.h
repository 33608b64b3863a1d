#pragma once

#include <QString>
#include <QStringView>

namespace zqskin {

// zqskin --help: the usage of every verb and how to ask for one verb's help.
QString toolHelpText();

// zqskin VERB --help: the verb's usage line and what it does. Empty when no verb has that name.
QString verbHelpText(QStringView verb);

// zqskin --version
QString versionText();

} // namespace zqskin
