#pragma once

#include "DccLink.h"

#include <QStringList>

#include <memory>

// The link of the DCC link module (DccLinkModule.h), loaded when the program
// first opens the link or lists the serial devices: a run in "DC" never loads
// Qt Serial Port and Qt Network. Until then it keeps the settings and the
// handlers it is given and hands them over on loading. A module that cannot
// be loaded leaves the link closed, and every open fails saying why.
class LoadedDccLink final : public DccLink {
public:
    // The module is looked for in these folders, in order.
    explicit LoadedDccLink(QStringList folders);
    ~LoadedDccLink() override;
    LoadedDccLink(const LoadedDccLink&) = delete;
    LoadedDccLink& operator=(const LoadedDccLink&) = delete;

    void setInterface(const InterfaceSettings& settings) override;
    InterfaceSettings interfaceSettings() const override;
    bool open(int number) override;
    bool openInBackground(int number) override;
    bool opening() const override;
    QString openError() const override;
    void close() override;
    bool isOpen() const override;
    QString where() const override;
    bool write(const QByteArray& frame) override;
    void discardReceived() override;
    void discardPending() override;
    bool waitForReceived(int maxMs) override;
    void setReceiveHandler(std::function<void(const Received&)> handler) override;
    void setLostHandler(std::function<void(const QString&, const QString&)> handler) override;
    void setOpenedHandler(std::function<void()> handler) override;
    QList<PortInfo> ports() const override;

private:
    // The module's link, loaded on the first call; null when it cannot be.
    DccLink* link() const;

    QStringList folders_;
    InterfaceSettings settings_;
    std::function<void(const Received&)> receive_;
    std::function<void(const QString&, const QString&)> lost_;
    std::function<void()> opened_;
    mutable bool tried_ = false;
    mutable QString loadError_;
    mutable std::unique_ptr<DccLink> link_;
};
