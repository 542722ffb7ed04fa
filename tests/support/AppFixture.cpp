#include "support/AppFixture.h"

#include "app/Startup.h"

void AppFixture::SetUp()
{
    devDir_ = temp_.Make("dev");
    sysDir_ = temp_.Make("sys");
    linksDir_ = temp_.Make("links");
    script_ = &InstallScriptedModal();
    if (!deferStart_)
        Start();
}

void AppFixture::TearDown()
{
    if (started_)
        DestroyForms();
}

TPortRoots AppFixture::Roots() const
{
    TPortRoots roots;
    roots.Dev = devDir_;
    roots.Sys = sysDir_;
    roots.Links = linksDir_;
    return roots;
}

void AppFixture::Start()
{
    CreateForms(std::make_shared<TPortMap>(Roots()));
    started_ = true;
}
