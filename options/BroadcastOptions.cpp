#include "BroadcastOptions.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace {

QSpinBox *portBox(int value, QWidget *parent)
{
    auto *box = new QSpinBox(parent);
    box->setRange(1, 65535);
    box->setValue(value);
    return box;
}

} // namespace

BroadcastOptions::BroadcastOptions(const OutputSettings &settings, QWidget *parent)
    : QGroupBox(tr("配信 (Snapcast)"), parent)
    , edited(settings)
{
    auto *row = new QHBoxLayout(this);
    broadcast = new QCheckBox(tr("読み上げを Snapcast で配信する"), this);
    broadcast->setChecked(settings.broadcast);
    details = new QPushButton(tr("サーバー..."), this);
    row->addWidget(broadcast);
    row->addStretch();
    row->addWidget(details);
    connect(details, &QPushButton::clicked, this, &BroadcastOptions::editDetails);
}

OutputSettings BroadcastOptions::settings() const
{
    OutputSettings result = edited;
    result.broadcast = broadcast->isChecked();
    return result;
}

void BroadcastOptions::editDetails()
{
    QDialog dialog(this);
    dialog.setWindowTitle(tr("配信サーバー"));
    auto *form = new QFormLayout(&dialog);
    auto *own = new QRadioButton(tr("このコンピューターで snapserver を起動する"), &dialog);
    auto *existing = new QRadioButton(tr("起動済みのサーバーを使う"), &dialog);
    own->setChecked(edited.ownServer);
    existing->setChecked(!edited.ownServer);
    auto *host = new QLineEdit(edited.host, &dialog);
    auto *streamPort = portBox(edited.streamPort, &dialog);
    auto *controlPort = portBox(edited.controlPort, &dialog);
    auto *sourcePort = portBox(edited.sourcePort, &dialog);
    auto *buffer = new QSpinBox(&dialog);
    buffer->setRange(OutputSettings::MinBufferMs, OutputSettings::MaxBufferMs);
    buffer->setSingleStep(100);
    buffer->setSuffix(QStringLiteral(" ms"));
    buffer->setValue(edited.bufferMs);
    auto *localClient = new QCheckBox(tr("このコンピューターでも snapclient で聞く"), &dialog);
    localClient->setChecked(edited.localClient);
    form->addRow(own);
    form->addRow(existing);
    form->addRow(tr("サーバーのホスト:"), host);
    form->addRow(tr("クライアントのポート:"), streamPort);
    form->addRow(tr("制御ポート (JSON-RPC):"), controlPort);
    form->addRow(tr("音声を送るポート:"), sourcePort);
    form->addRow(tr("バッファ:"), buffer);
    form->addRow(localClient);
    // Only a server of our own takes the buffer given; a running one has its own.
    const auto follow = [=] {
        host->setEnabled(existing->isChecked());
        buffer->setEnabled(own->isChecked());
    };
    follow();
    connect(own, &QRadioButton::toggled, &dialog, follow);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted)
        return;
    edited.ownServer = own->isChecked();
    if (!host->text().trimmed().isEmpty())
        edited.host = host->text().trimmed();
    edited.streamPort = streamPort->value();
    edited.controlPort = controlPort->value();
    edited.sourcePort = sourcePort->value();
    edited.bufferMs = buffer->value();
    edited.localClient = localClient->isChecked();
}
