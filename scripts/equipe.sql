-- O dono do banco: só o administrador o usa, na primeira abertura e nas
-- atualizações do programa.
CREATE ROLE vlme_dono LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE;
-- O grupo com os direitos do programa; ninguém entra com ele.
CREATE ROLE vlme_equipe NOLOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE;
-- Um papel por escrivão e um para a conta de serviço da empresa.
CREATE ROLE ana LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE IN ROLE vlme_equipe;
CREATE ROLE bruno LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE IN ROLE vlme_equipe;
CREATE ROLE vlme_servico LOGIN NOSUPERUSER NOCREATEDB NOCREATEROLE IN ROLE vlme_equipe;
CREATE DATABASE vlme OWNER vlme_dono ENCODING 'UTF8' TEMPLATE template0;
REVOKE ALL ON DATABASE vlme FROM PUBLIC;
GRANT CONNECT ON DATABASE vlme TO vlme_equipe;
\connect vlme
-- Só o dono cria tabelas; o grupo usa as que ele cria.
ALTER SCHEMA public OWNER TO vlme_dono;
REVOKE ALL ON SCHEMA public FROM PUBLIC;
GRANT USAGE ON SCHEMA public TO vlme_equipe;
ALTER DEFAULT PRIVILEGES FOR ROLE vlme_dono
    GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO vlme_equipe;
ALTER DEFAULT PRIVILEGES FOR ROLE vlme_dono
    GRANT USAGE, SELECT ON SEQUENCES TO vlme_equipe;
